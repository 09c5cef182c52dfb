#pragma once
// What every decoded picture promises the upload: at least as many bytes as
// its width, height, layout and row alignment make it read, within the cap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "textures/image.h"

inline void CheckImage(const TImage& image) {
  const std::size_t pixelBytes = image.Layout == TPixelLayout::Rgba ? 4 : 3;
  const std::size_t alignment = static_cast<std::size_t>(image.RowAlignment);
  if (alignment == 0 || (alignment & (alignment - 1)) != 0) std::abort();
  const std::size_t row = (image.Width * pixelBytes + alignment - 1) / alignment * alignment;
  if (image.Pixels.size() < row * image.Height || row * image.Height > MaxImageBytes) std::abort();
}
