#pragma once
// BMP files with a 40-, 52-, 56-, 108- or 124-byte information header, 24-bit
// uncompressed or 32-bit (uncompressed, or bit fields in the plain byte
// order), to RGB or RGBA rows, bottom row first, each row padded to four
// bytes as stored. The pixels are read from the file header's data offset.
#include <cstdint>
#include <span>

#include "textures/image.h"

enum class TBmpError : std::uint8_t {
  None,
  ShortHeader,
  UnknownHeader,
  BadSize,
  Unsupported,
  ShortPalette,
  BadOffset,
  ShortPixels,
};

TBmpError DecodeBMP(std::span<const std::uint8_t> data, TImage& image);

// Why a file was refused, in a few words for a log line.
const char* DescribeBmpError(TBmpError error);
