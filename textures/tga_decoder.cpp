#include "textures/tga_decoder.h"

#include <algorithm>
#include <utility>

#include "base/byte_reader.h"

namespace {

constexpr std::size_t HeaderSize = 18;
constexpr std::uint8_t TypeTrueColor = 2;
constexpr std::uint8_t TypeRunLength = 10;
constexpr std::uint8_t RightToLeft = 0x10;
constexpr std::uint8_t TopToBottom = 0x20;

// Stored B, G, R (, A) becomes R, G, B (, A).
void ConvertPixel(const std::uint8_t* stored, std::uint8_t* out, int bytesPerPixel) {
  out[0] = stored[2];
  out[1] = stored[1];
  out[2] = stored[0];
  if (bytesPerPixel == 4) out[3] = stored[3];
}

// Packets write at most the pixels left; data that ends early, even inside a
// pixel, leaves the rest of the picture zero.
void DecodeRunLength(TByteReader& reader, std::vector<std::uint8_t>& pixels, int bytesPerPixel) {
  const auto pixelBytes = static_cast<std::size_t>(bytesPerPixel);
  const std::size_t total = pixels.size() / pixelBytes;
  std::uint8_t stored[4] = {};
  const auto readPixel = [&] {
    for (int b = 0; b < bytesPerPixel; ++b) stored[b] = reader.ReadByte();
    return !reader.Short();
  };
  std::size_t written = 0;
  while (written < total && !reader.AtEnd()) {
    const std::uint8_t header = reader.ReadByte();
    const std::size_t count = std::min<std::size_t>((header & 0x7F) + 1, total - written);
    if (header >= 128) {
      if (!readPixel()) return;
      for (std::size_t k = 0; k < count; ++k)
        ConvertPixel(stored, pixels.data() + (written + k) * pixelBytes, bytesPerPixel);
      written += count;
    } else {
      for (std::size_t k = 0; k < count; ++k, ++written) {
        if (!readPixel()) return;
        ConvertPixel(stored, pixels.data() + written * pixelBytes, bytesPerPixel);
      }
    }
  }
}

// Pixels stored right to left are mirrored within their rows, rows stored top
// row first are reversed, so that the result starts at the bottom left.
void ApplyOrigin(std::vector<std::uint8_t>& pixels, std::size_t width, std::size_t height, std::size_t pixelBytes,
                 std::uint8_t descriptor) {
  if (descriptor & RightToLeft) {
    for (std::size_t y = 0; y < height; ++y) {
      std::uint8_t* row = pixels.data() + y * width * pixelBytes;
      for (std::size_t x = 0; x < width / 2; ++x)
        std::swap_ranges(row + x * pixelBytes, row + (x + 1) * pixelBytes, row + (width - 1 - x) * pixelBytes);
    }
  }
  if (descriptor & TopToBottom) FlipRows(pixels, width * pixelBytes, height);
}

}  // namespace

TTgaError DecodeTGA(std::span<const std::uint8_t> data, TImage& image) {
  if (data.size() < HeaderSize) return TTgaError::ShortHeader;
  TByteReader reader(data);
  const std::uint8_t idLength = reader.ReadByte();
  const std::uint8_t colorMapType = reader.ReadByte();
  const std::uint8_t imageType = reader.ReadByte();
  reader.Skip(5);     // colour-map specification: no colour map is accepted
  reader.ReadWord();  // x origin: the picture is placed by the caller
  reader.ReadWord();  // y origin: likewise
  const std::uint16_t width = reader.ReadWord();
  const std::uint16_t height = reader.ReadWord();
  const std::uint8_t depth = reader.ReadByte();
  const std::uint8_t descriptor = reader.ReadByte();

  if (imageType != TypeTrueColor && imageType != TypeRunLength) return TTgaError::BadImageType;
  if (colorMapType != 0) return TTgaError::ColorMapped;
  if (depth != 24 && depth != 32) return TTgaError::BadDepth;
  const int bytesPerPixel = depth / 8;
  const std::uint64_t size = std::uint64_t{width} * height * static_cast<std::uint64_t>(bytesPerPixel);
  if (size == 0 || size > MaxImageBytes) return TTgaError::BadSize;
  if (!reader.Skip(idLength)) return TTgaError::ShortPixels;

  std::vector<std::uint8_t> pixels;
  if (imageType == TypeTrueColor) {
    if (static_cast<std::uint64_t>(reader.Remaining()) < size) return TTgaError::ShortPixels;
    pixels.resize(static_cast<std::size_t>(size));
    const std::span<const std::uint8_t> stored = reader.Take(static_cast<std::int64_t>(size));
    for (std::size_t at = 0; at < pixels.size(); at += static_cast<std::size_t>(bytesPerPixel))
      ConvertPixel(stored.data() + at, pixels.data() + at, bytesPerPixel);
  } else {
    pixels.resize(static_cast<std::size_t>(size));
    DecodeRunLength(reader, pixels, bytesPerPixel);
  }
  ApplyOrigin(pixels, width, height, static_cast<std::size_t>(bytesPerPixel), descriptor);

  image.Width = width;
  image.Height = height;
  image.Layout = bytesPerPixel == 4 ? TPixelLayout::Rgba : TPixelLayout::Rgb;
  // Rows of 24-bit pixels are stored without padding.
  image.RowAlignment = bytesPerPixel == 4 ? 4 : 1;
  image.Pixels = std::move(pixels);
  return TTgaError::None;
}
