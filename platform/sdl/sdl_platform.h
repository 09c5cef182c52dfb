#pragma once
// The platform over SDL2 with an OpenGL context: one window, its messages in
// Windows form, a one-second timer, message boxes and the tick counter.
#include <deque>
#include <memory>

#include "platform/platform.h"

namespace platform {

class TSdlPlatform final : public TPlatform {
 public:
  TSdlPlatform();
  ~TSdlPlatform() override;

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

  // True when message boxes may open a dialog: a display is up and nobody has
  // set DRIFTLOW_MESSAGES=stderr (automated runs, where no one could answer).
  bool DialogsAllowed() const;

 private:
  struct TState;
  std::unique_ptr<TState> State;
  void PumpEvents();
};

// The Windows virtual-key code of an SDL key code, 0 for keys the intro has no code for.
std::uint32_t VirtualKeyFromSdl(std::int32_t sdlKey);

}  // namespace platform
