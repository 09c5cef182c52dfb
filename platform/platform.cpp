#include "platform/platform.h"

#include <chrono>
#include <cstdio>

namespace platform {
namespace {

// Where no window system is wanted (tools, tests of code that only reports):
// every window call fails, messages go to stderr, the clock is real.
class TNullPlatform final : public TPlatform {
 public:
  THandle GetModuleHandle() override { return 1; }
  bool RegisterClass(const TWindowClass&) override { return false; }
  bool UnregisterClass(const char*, THandle) override { return false; }
  std::int32_t ChangeDisplaySettings(const TDisplayMode*, std::uint32_t) override { return DISP_CHANGE_FAILED; }
  std::int32_t ShowCursor(bool) override { return 0; }
  THandle CreateWindowEx(std::uint32_t, const char*, const char*, std::uint32_t, int, int, int, int, THandle) override {
    return 0;
  }
  bool DestroyWindow(THandle) override { return false; }
  THandle GetDC(THandle) override { return 0; }
  bool ReleaseDC(THandle, THandle) override { return false; }
  int ChoosePixelFormat(THandle, const TPixelFormat&) override { return 0; }
  bool SetPixelFormat(THandle, int, const TPixelFormat&) override { return false; }
  THandle CreateContext(THandle) override { return 0; }
  bool MakeCurrent(THandle, THandle) override { return false; }
  bool DeleteContext(THandle) override { return false; }
  bool SwapBuffers(THandle) override { return false; }
  bool SetTimer(THandle, std::uintptr_t, std::uint32_t) override { return false; }
  void ShowWindow(THandle) override {}
  void SetForegroundWindow(THandle) override {}
  void SetFocus(THandle) override {}
  bool SetWindowText(THandle, const std::string&) override { return false; }
  bool PeekMessage(TMessage&) override { return false; }
  void TranslateMessage(const TMessage&) override {}
  TLResult DispatchMessage(const TMessage&) override { return 0; }
  void PostQuitMessage(int) override {}
  TLResult DefWindowProc(THandle, std::uint32_t, TWParam, TLParam) override { return 0; }
  void MessageBox(const std::string& text, const std::string& caption, std::uint32_t) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
  std::uint32_t GetTickCount() override {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

TNullPlatform NullPlatform;
TPlatform* Current = &NullPlatform;

}  // namespace

TPlatform& Platform() { return *Current; }

void SetPlatform(TPlatform* platform) { Current = platform ? platform : &NullPlatform; }

void ShowMessage(const std::string& text, const std::string& caption, std::uint32_t flags) {
  Current->MessageBox(text, caption, flags);
}

}  // namespace platform
