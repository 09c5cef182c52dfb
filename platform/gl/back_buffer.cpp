#include "platform/offscreen_context.h"

#include <algorithm>

#include "platform/gl.h"

namespace platform {

std::vector<std::uint8_t> ReadBackBuffer(int width, int height) {
  const auto rowBytes = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height));
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  std::vector<std::uint8_t> topDown(bottomUp.size());
  for (int y = 0; y < height; ++y)
    std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes * (height - 1 - y)), rowBytes,
                topDown.begin() + static_cast<std::ptrdiff_t>(rowBytes * y));
  return topDown;
}

std::vector<std::uint8_t> TOffscreenContext::ReadPixels() const { return ReadBackBuffer(Width_, Height_); }

}  // namespace platform
