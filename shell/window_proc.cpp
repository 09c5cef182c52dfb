#include "shell/window_proc.h"

#include <cmath>

#include "platform/platform.h"
#include "shell/render_window.h"
#include "shell/shell_state.h"

using namespace platform;

namespace {
constexpr std::uint32_t TimerPeriod = 1000;
}  // namespace

std::string FrameRateTitle(std::int32_t frameCount) {
  const auto rate = std::lround(static_cast<double>(frameCount) * 1000.0 / TimerPeriod);
  return "DRIFTLOW   [" + std::to_string(rate) + " FPS]";
}

TLResult WindowProc(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam) {
  switch (message) {
    case WM_CREATE: return 0;
    case WM_SIZE: ResizeScene(LoWord(lParam), HiWord(lParam)); return 0;
    case WM_CLOSE: Platform().PostQuitMessage(0); return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      // Key codes are one byte; anything larger is not a key the table holds.
      if (wParam < Keys.size()) Keys[wParam] = message == WM_KEYDOWN;
      return 0;
    case WM_TIMER:
      if (wParam == 1) {
        Platform().SetWindowText(window, FrameRateTitle(FrameCount));
        FrameCount = 0;
      }
      return 0;
    default: return Platform().DefWindowProc(window, message, wParam, lParam);
  }
}
