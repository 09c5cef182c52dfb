#pragma once
// Image files built in code, so each test shows the bytes it feeds a decoder.
#include <cstdint>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

struct TBmpFields {
  std::int32_t Width = 1;
  std::int32_t Height = 1;
  std::uint16_t BitsPerPixel = 24;
  std::uint32_t Compression = 0;
  std::uint32_t ImageSize = 0;
  std::uint32_t ColorsUsed = 0;
};

// The 14-byte file header and the 40-byte information header, then `rest`.
TBytes BmpFile(const TBmpFields& fields, const TBytes& rest);

struct TTgaFields {
  std::uint8_t IdLength = 0;
  std::uint8_t ColorMapType = 0;
  std::uint8_t ImageType = 2;
  std::uint16_t Width = 1;
  std::uint16_t Height = 1;
  std::uint8_t Depth = 24;
};

// The 18-byte header, then `rest`.
TBytes TgaFile(const TTgaFields& fields, const TBytes& rest);

// A JPEG made by libjpeg from top-down samples with 1 (grey), 3 (RGB) or 4
// (CMYK) components, every channel at full resolution.
TBytes JpegFile(int width, int height, int components, const TBytes& samples);
