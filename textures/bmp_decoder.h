#pragma once
// 24-bit uncompressed BMP files to RGB rows, bottom row first, each row
// padded to four bytes as stored.
#include <cstdint>
#include <span>

#include "textures/image.h"

enum class TBmpError : std::uint8_t { None, ShortHeader, Unsupported, ShortPalette, ShortPixels };

TBmpError DecodeBMP(std::span<const std::uint8_t> data, TImage& image);
