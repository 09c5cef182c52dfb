#pragma once
// The platform on Windows: every call is the system's own (user32, gdi32,
// opengl32's wgl, kernel32), with the intro's window procedure behind the
// class it registers.
#include "platform/platform.h"

namespace platform {

class TWin32Platform final : public TPlatform {
 public:
  THandle GetModuleHandle() override;
  bool RegisterClass(const TWindowClass& windowClass) override;
  bool UnregisterClass(const char* className, THandle instance) override;
  std::int32_t ChangeDisplaySettings(const TDisplayMode* mode, std::uint32_t flags) override;
  std::int32_t ShowCursor(bool show) override;
  THandle CreateWindowEx(std::uint32_t exStyle, const char* className, const char* caption, std::uint32_t style, int x,
                         int y, int width, int height, THandle instance) override;
  bool DestroyWindow(THandle window) override;
  THandle GetDC(THandle window) override;
  bool ReleaseDC(THandle window, THandle deviceContext) override;
  int ChoosePixelFormat(THandle deviceContext, const TPixelFormat& format) override;
  bool SetPixelFormat(THandle deviceContext, int index, const TPixelFormat& format) override;
  THandle CreateContext(THandle deviceContext) override;
  bool MakeCurrent(THandle deviceContext, THandle renderContext) override;
  bool DeleteContext(THandle renderContext) override;
  bool SwapBuffers(THandle deviceContext) override;
  bool SetTimer(THandle window, std::uintptr_t id, std::uint32_t milliseconds) override;
  void ShowWindow(THandle window) override;
  void SetForegroundWindow(THandle window) override;
  void SetFocus(THandle window) override;
  bool SetWindowText(THandle window, const std::string& text) override;
  bool PeekMessage(TMessage& message) override;
  void TranslateMessage(const TMessage& message) override;
  TLResult DispatchMessage(const TMessage& message) override;
  void PostQuitMessage(int exitCode) override;
  TLResult DefWindowProc(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam) override;
  // Always written to stderr as well; the dialog is left out where nobody
  // could answer it (DRIFTLOW_MESSAGES=stderr, set by automated runs).
  void MessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) override;
  std::uint32_t GetTickCount() override;
};

}  // namespace platform
