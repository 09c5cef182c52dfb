#include "platform/fake_platform.h"

#include <algorithm>

namespace platform {
namespace {
constexpr THandle FakeInstance = 0x400000;
constexpr THandle FakeWindow = 0x100;
constexpr THandle FakeDeviceContext = 0x200;
constexpr THandle FakeRenderContext = 0x300;
}  // namespace

bool TFakePlatform::Record(const std::string& name) {
  Calls.push_back(name);
  return Failing.count(name) == 0;
}

bool TFakePlatform::Called(const std::string& name) const {
  return std::find(Calls.begin(), Calls.end(), name) != Calls.end();
}

THandle TFakePlatform::GetModuleHandle() { return FakeInstance; }

bool TFakePlatform::RegisterClass(const TWindowClass& windowClass) {
  RegisteredClass = windowClass;
  return Record("RegisterClass");
}

bool TFakePlatform::UnregisterClass(const char*, THandle) { return Record("UnregisterClass"); }

std::int32_t TFakePlatform::ChangeDisplaySettings(const TDisplayMode* mode, std::uint32_t) {
  if (!mode) {
    Record("RestoreDisplaySettings");
    return DISP_CHANGE_SUCCESSFUL;
  }
  RequestedMode = *mode;
  return Record("ChangeDisplaySettings") ? DisplayChangeResult : DISP_CHANGE_FAILED;
}

std::int32_t TFakePlatform::ShowCursor(bool show) {
  Record(show ? "ShowCursor(true)" : "ShowCursor(false)");
  return CursorCount += show ? 1 : -1;
}

THandle TFakePlatform::CreateWindowEx(std::uint32_t exStyle, const char*, const char*, std::uint32_t style, int, int,
                                      int, int, THandle) {
  WindowExStyle = exStyle;
  WindowStyle = style;
  return Record("CreateWindowEx") ? FakeWindow : 0;
}

bool TFakePlatform::DestroyWindow(THandle) { return Record("DestroyWindow"); }
THandle TFakePlatform::GetDC(THandle) { return Record("GetDC") ? FakeDeviceContext : 0; }
bool TFakePlatform::ReleaseDC(THandle, THandle) { return Record("ReleaseDC"); }

int TFakePlatform::ChoosePixelFormat(THandle, const TPixelFormat& format) {
  RequestedFormat = format;
  return Record("ChoosePixelFormat") ? 1 : 0;
}

bool TFakePlatform::SetPixelFormat(THandle, int, const TPixelFormat&) { return Record("SetPixelFormat"); }
THandle TFakePlatform::CreateContext(THandle) { return Record("CreateContext") ? FakeRenderContext : 0; }

bool TFakePlatform::MakeCurrent(THandle, THandle renderContext) {
  return Record(renderContext ? "MakeCurrent" : "MakeCurrent(none)");
}

bool TFakePlatform::DeleteContext(THandle renderContext) {
  // Deleting a context that was never made fails, as it does on the real system.
  return Record("DeleteContext") && renderContext != 0;
}

bool TFakePlatform::SwapBuffers(THandle) { return Record("SwapBuffers"); }
bool TFakePlatform::SetTimer(THandle, std::uintptr_t, std::uint32_t) { return Record("SetTimer"); }
void TFakePlatform::ShowWindow(THandle) { Record("ShowWindow"); }
void TFakePlatform::SetForegroundWindow(THandle) { Record("SetForegroundWindow"); }
void TFakePlatform::SetFocus(THandle) { Record("SetFocus"); }

bool TFakePlatform::SetWindowText(THandle, const std::string& text) {
  Title = text;
  return Record("SetWindowText");
}

bool TFakePlatform::PeekMessage(TMessage& message) {
  if (!Queue.empty()) {
    message = Queue.front();
    Queue.pop_front();
    return true;
  }
  if (QuitPosted) {
    QuitPosted = false;
    message = TMessage{0, WM_QUIT, static_cast<TWParam>(QuitCode), 0};
    return true;
  }
  if (OnEmptyQueue) OnEmptyQueue();
  return false;
}

void TFakePlatform::TranslateMessage(const TMessage&) {}

TLResult TFakePlatform::DispatchMessage(const TMessage& message) {
  if (!RegisteredClass.WindowProc) return 0;
  return RegisteredClass.WindowProc(message.Window, message.Message, message.WParam, message.LParam);
}

void TFakePlatform::PostQuitMessage(int exitCode) {
  Record("PostQuitMessage");
  QuitPosted = true;
  QuitCode = exitCode;
}

TLResult TFakePlatform::DefWindowProc(THandle, std::uint32_t, TWParam, TLParam) {
  Record("DefWindowProc");
  return 0;
}

void TFakePlatform::MessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
  MessageBoxes.push_back(caption + ": " + text);
  MessageBoxFlags.push_back(flags);
  Record("MessageBox(" + caption + ": " + text + ")");
}

std::uint32_t TFakePlatform::GetTickCount() {
  if (!Ticks.empty()) {
    LastTick = Ticks.front();
    Ticks.pop_front();
  }
  return LastTick;
}

}  // namespace platform
