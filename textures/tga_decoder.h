#pragma once
// True-colour TGA files (uncompressed, type 2, or run-length, type 10; 24 or
// 32 bits) to RGB or RGBA rows, bottom row first and each row left to right
// whichever corner the file starts from.
#include <cstdint>
#include <span>

#include "textures/image.h"

// In the order the header is checked.
enum class TTgaError : std::uint8_t { None, ShortHeader, BadImageType, ColorMapped, BadDepth, BadSize, ShortPixels };

TTgaError DecodeTGA(std::span<const std::uint8_t> data, TImage& image);
