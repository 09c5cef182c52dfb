#pragma once
// Image files built in code, so each test shows the bytes it feeds a decoder.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

struct TBmpFields {
  std::int32_t Width = 1;
  std::int32_t Height = 1;
  std::uint16_t BitsPerPixel = 24;
  std::uint32_t Compression = 0;
  std::uint32_t ImageSize = 0;
  std::uint32_t ColorsUsed = 0;
  // 40 or more; past the first 40 bytes only the masks are written.
  std::uint32_t InfoSize = 40;
  // Bytes (0xEE) between the headers and `rest`.
  std::uint32_t Gap = 0;
  // Where the pixels start; by default past the headers, the gap and the palette.
  std::optional<std::uint32_t> DataOffset = std::nullopt;
  std::array<std::uint32_t, 4> Masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
};

// The 14-byte file header and the information header, then with compression
// 3 the masks (after a 40-byte header, inside the larger ones), the gap and
// `rest`.
TBytes BmpFile(const TBmpFields& fields, const TBytes& rest);

struct TTgaFields {
  std::uint8_t IdLength = 0;
  std::uint8_t ColorMapType = 0;
  std::uint8_t ImageType = 2;
  std::uint16_t Width = 1;
  std::uint16_t Height = 1;
  std::uint8_t Depth = 24;
  std::uint8_t Descriptor = 0;
};

// The 18-byte header, then `rest`.
TBytes TgaFile(const TTgaFields& fields, const TBytes& rest);

// A JPEG made by libjpeg from top-down samples with 1 (grey), 3 (RGB) or 4
// (CMYK) components, every channel at full resolution.
TBytes JpegFile(int width, int height, int components, const TBytes& samples);
