#pragma once
// A platform for tests: it records every call in order, can be told to fail
// any of them, plays back a scripted message queue and a scripted tick counter.
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

class TFakePlatform final : public TPlatform {
 public:
  // Calls in order, by name; message boxes as "MessageBox(caption: text)".
  std::vector<std::string> Calls;
  std::vector<std::string> MessageBoxes;
  std::vector<std::uint32_t> MessageBoxFlags;
  // Names of calls that fail ("CreateWindowEx", "MakeCurrent", ...).
  std::set<std::string> Failing;
  // Played back by PeekMessage, then WM_QUIT once PostQuitMessage was called.
  std::deque<TMessage> Queue;
  // Returned by GetTickCount one after another; the last value repeats.
  std::deque<std::uint32_t> Ticks;
  // Called whenever the queue is found empty, so a test can feed the loop.
  std::function<void()> OnEmptyQueue;

  std::string Title;
  TWindowClass RegisteredClass;
  std::uint32_t WindowStyle = 0;
  std::uint32_t WindowExStyle = 0;
  TDisplayMode RequestedMode;
  TPixelFormat RequestedFormat;
  int CursorCount = 0;
  std::int32_t DisplayChangeResult = DISP_CHANGE_SUCCESSFUL;

  bool Called(const std::string& name) const;

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
  void MessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) override;
  std::uint32_t GetTickCount() override;

 private:
  bool Record(const std::string& name);
  bool QuitPosted = false;
  int QuitCode = 0;
  std::uint32_t LastTick = 0;
};

}  // namespace platform
