#pragma once
// A decoded picture as the upload takes it: 8-bit channels, rows in the order
// OpenGL reads them (row 0 is texture coordinate t = 0), each row padded to
// RowAlignment bytes.
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
