#include "platform/offscreen_context.h"

#include <algorithm>

#include "platform/gl.h"

namespace platform {

std::vector<std::uint8_t> TOffscreenContext::ReadPixels() const {
  const auto rowBytes = static_cast<std::size_t>(Width_) * 3;
  std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(Height_));
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, Width_, Height_, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  std::vector<std::uint8_t> topDown(bottomUp.size());
  for (int y = 0; y < Height_; ++y)
    std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes * (Height_ - 1 - y)), rowBytes,
                topDown.begin() + static_cast<std::ptrdiff_t>(rowBytes * y));
  return topDown;
}

}  // namespace platform
