#pragma once
// The seam between the intro and the system: the window, context, message,
// timer, title, cursor, message-box and tick-counter calls the shell makes.
// The SDL backend runs the intro; the recording fake runs the tests.
#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace platform {

class TPlatform {
 public:
  virtual ~TPlatform() = default;

  virtual THandle GetModuleHandle() = 0;
  virtual bool RegisterClass(const TWindowClass& windowClass) = 0;
  virtual bool UnregisterClass(const char* className, THandle instance) = 0;
  // mode nullptr returns to the default mode.
  virtual std::int32_t ChangeDisplaySettings(const TDisplayMode* mode, std::uint32_t flags) = 0;
  virtual std::int32_t ShowCursor(bool show) = 0;
  virtual THandle CreateWindowEx(std::uint32_t exStyle, const char* className, const char* caption, std::uint32_t style,
                                 int x, int y, int width, int height, THandle instance) = 0;
  virtual bool DestroyWindow(THandle window) = 0;
  virtual THandle GetDC(THandle window) = 0;
  virtual bool ReleaseDC(THandle window, THandle deviceContext) = 0;
  virtual int ChoosePixelFormat(THandle deviceContext, const TPixelFormat& format) = 0;
  virtual bool SetPixelFormat(THandle deviceContext, int index, const TPixelFormat& format) = 0;
  virtual THandle CreateContext(THandle deviceContext) = 0;
  virtual bool MakeCurrent(THandle deviceContext, THandle renderContext) = 0;
  virtual bool DeleteContext(THandle renderContext) = 0;
  virtual bool SwapBuffers(THandle deviceContext) = 0;
  virtual bool SetTimer(THandle window, std::uintptr_t id, std::uint32_t milliseconds) = 0;
  virtual void ShowWindow(THandle window) = 0;
  virtual void SetForegroundWindow(THandle window) = 0;
  virtual void SetFocus(THandle window) = 0;
  virtual bool SetWindowText(THandle window, const std::string& text) = 0;

  // One message, removed from the queue; false when the queue is empty.
  virtual bool PeekMessage(TMessage& message) = 0;
  virtual void TranslateMessage(const TMessage& message) = 0;
  virtual TLResult DispatchMessage(const TMessage& message) = 0;
  virtual void PostQuitMessage(int exitCode) = 0;
  virtual TLResult DefWindowProc(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam) = 0;

  virtual void MessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) = 0;
  virtual std::uint32_t GetTickCount() = 0;
};

// The platform the process runs on. Set once by the program's entry (or a
// test) before any other call; the default writes message boxes to stderr
// and has no windows.
TPlatform& Platform();
void SetPlatform(TPlatform* platform);

// Message boxes for code that has no window of its own (texture loader, mesh
// generator): shown through the current platform.
void ShowMessage(const std::string& text, const std::string& caption, std::uint32_t flags);

}  // namespace platform
