// Pictures in the layouts the decoders learnt late, or cut and damaged where
// a decoder is tempted to read on or hand back a patched-up picture.
#include <algorithm>

#include "fuzz/regressions.h"
#include "tests/textures/image_bytes.h"

namespace {

// Two rows of two pixels, each row padded to 4 bytes where it needs it.
TBytes Pixels(int bytesPerPixel) {
  TBytes bytes;
  for (int row = 0; row < 2; ++row) {
    for (int k = 0; k < 2 * bytesPerPixel; ++k) bytes.push_back(static_cast<std::uint8_t>(40 * row + 9 * k));
    bytes.resize((bytes.size() + 3) / 4 * 4, 0);
  }
  return bytes;
}

// Where the scan data starts: after the start-of-scan marker.
std::size_t ScanStart(const TBytes& jpeg) {
  std::size_t k = 0;
  while (k + 1 < jpeg.size() && (jpeg[k] != 0xFF || jpeg[k + 1] != 0xDA)) ++k;
  return k;
}

TBytes GradientJpeg() {
  TBytes samples;
  for (int k = 0; k < 32 * 32; ++k)
    samples.insert(samples.end(), {static_cast<std::uint8_t>(k * 8), static_cast<std::uint8_t>(k / 4), 9});
  return JpegFile(32, 32, 3, samples);
}

}  // namespace

std::vector<TRegression> BmpRegressions() {
  TBytes cutHeader = BmpFile({.BitsPerPixel = 32, .Compression = 3, .InfoSize = 124}, {});
  cutHeader.resize(100);
  return {
      {"info-108.bmp", BmpFile({.Width = 2, .Height = 2, .InfoSize = 108}, Pixels(3))},
      {"info-124-gap.bmp", BmpFile({.Width = 2, .Height = 2, .InfoSize = 124, .Gap = 10}, Pixels(3))},
      {"top-down.bmp", BmpFile({.Width = 2, .Height = -2}, Pixels(3))},
      {"32-bit.bmp", BmpFile({.Width = 2, .Height = 2, .BitsPerPixel = 32, .Gap = 3}, Pixels(4))},
      {"32-bit-masks-top-down.bmp",
       BmpFile({.Width = 2, .Height = -2, .BitsPerPixel = 32, .Compression = 3, .InfoSize = 124}, Pixels(4))},
      {"info-124-cut.bmp", cutHeader},
      {"endless-palette.bmp", BmpFile({.ColorsUsed = 0xFFFFFFFF}, TBytes(64, 0))},
      // The largest picture a texture may be, from a few bytes of pixels.
      {"largest-from-few-bytes.bmp",
       BmpFile({.Width = 4096, .Height = -4096, .BitsPerPixel = 32, .ImageSize = 4}, {1, 2, 3, 4}), true},
  };
}

std::vector<TRegression> TgaRegressions() {
  const TBytes stored = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6};
  // A run of two pixels, then four stored ones.
  const TBytes packed = {0x81, 7, 7, 7, 0x03, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
  return {
      {"top-left.tga", TgaFile({.Width = 3, .Height = 2, .Descriptor = 0x20}, stored)},
      {"top-left-rle.tga", TgaFile({.ImageType = 10, .Width = 3, .Height = 2, .Descriptor = 0x20}, packed)},
      {"top-right.tga", TgaFile({.Width = 3, .Height = 2, .Descriptor = 0x30}, stored)},
      {"rle-past-the-picture.tga", TgaFile({.ImageType = 10, .Width = 2, .Height = 1}, {0xFF, 1, 2, 3})},
  };
}

std::vector<TRegression> JpegRegressions() {
  const TBytes good = GradientJpeg();
  const std::size_t middle = (ScanStart(good) + good.size()) / 2;
  TBytes inverted = good;
  std::for_each(inverted.begin() + static_cast<std::ptrdiff_t>(middle),
                inverted.begin() + static_cast<std::ptrdiff_t>(middle + 16), [](std::uint8_t& b) { b ^= 0xFF; });
  return {
      {"truncated-scan.jpg", TBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(middle))},
      {"no-end-marker.jpg", TBytes(good.begin(), good.end() - 2)},
      {"inverted-scan.jpg", inverted},
  };
}
