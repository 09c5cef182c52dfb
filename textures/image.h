#pragma once
// A decoded picture as the upload takes it: 8-bit channels, rows in the order
// OpenGL reads them (row 0 is texture coordinate t = 0), each row padded to
// RowAlignment bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

enum class TPixelLayout : std::uint8_t { Rgb, Rgba };

struct TImage {
  std::uint16_t Width = 0;
  std::uint16_t Height = 0;
  TPixelLayout Layout = TPixelLayout::Rgb;
  int RowAlignment = 4;
  std::vector<std::uint8_t> Pixels;
};

// No picture the intro could want comes near this; a header that asks for more
// is lying, and refusing it keeps a hostile file from costing gigabytes.
constexpr std::uint64_t MaxImageBytes = std::uint64_t{1} << 26;

// Reverses the order of the first `height` rows of `rowBytes` bytes each, for
// files that store the top row first.
inline void FlipRows(std::vector<std::uint8_t>& pixels, std::size_t rowBytes, std::size_t height) {
  std::uint8_t* const rows = pixels.data();
  for (std::size_t y = 0; y < height / 2; ++y)
    std::swap_ranges(rows + y * rowBytes, rows + (y + 1) * rowBytes, rows + (height - 1 - y) * rowBytes);
}
