#pragma once
// JPEG pictures, decoded by libjpeg at full size, to RGBA rows with the
// picture's bottom row first and alpha 255; grey-scale pictures give equal R,
// G and B. Corrupt or truncated data (anything libjpeg errs or warns about)
// and colour spaces other than grey, RGB and YCbCr (CMYK) are failures.
#include <cstdint>
#include <span>

#include "textures/image.h"

bool DecodeJPG(std::span<const std::uint8_t> data, TImage& image);
