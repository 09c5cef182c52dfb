#include "textures/bmp_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/byte_reader.h"

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t SmallestInfoHeader = 40;
constexpr std::int64_t MaxSide = 65535;
constexpr std::uint32_t Uncompressed = 0;
constexpr std::uint32_t BitFields = 3;

bool KnownInfoHeader(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Only masks that put the channels where plain 32-bit pixels have them (blue,
// green, red, alpha) are read; an alpha mask of 0 makes the picture opaque.
bool PlainMasks(const std::uint32_t (&masks)[4]) {
  return masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0x000000FF &&
         (masks[3] == 0xFF000000 || masks[3] == 0);
}

}  // namespace

TBmpError DecodeBMP(std::span<const std::uint8_t> data, TImage& image) {
  if (data.size() < FileHeaderSize + SmallestInfoHeader) return TBmpError::ShortHeader;
  TByteReader reader(data);
  reader.Skip(10);  // type, file size and two reserved words: taken on trust
  const std::uint32_t dataOffset = reader.ReadDword();
  const std::uint32_t infoSize = reader.ReadDword();
  const std::int32_t width = reader.ReadSignedDword();
  const std::int32_t storedHeight = reader.ReadSignedDword();
  reader.ReadWord();  // planes: always 1 in practice, nothing depends on it
  const std::uint16_t bitsPerPixel = reader.ReadWord();
  const std::uint32_t compression = reader.ReadDword();
  const std::uint32_t imageSize = reader.ReadDword();
  reader.Skip(8);  // two resolutions: meaningless for a texture
  const std::uint32_t colorsUsed = reader.ReadDword();
  reader.ReadDword();  // important colours: a display hint

  if (!KnownInfoHeader(infoSize)) return TBmpError::UnknownHeader;
  // The masks follow a 40-byte header; the larger headers hold them.
  const std::size_t headersEnd = FileHeaderSize + infoSize + (infoSize == 40 && compression == BitFields ? 12 : 0);
  if (data.size() < headersEnd) return TBmpError::ShortHeader;
  std::uint32_t masks[4] = {};
  const int maskCount = compression != BitFields ? 0 : infoSize >= 56 ? 4 : 3;
  for (int k = 0; k < maskCount; ++k) masks[k] = reader.ReadDword();

  // A negative height marks a picture stored top row first.
  const std::int64_t height = std::abs(std::int64_t{storedHeight});
  if (width <= 0 || height == 0 || width > MaxSide || height > MaxSide) return TBmpError::BadSize;
  const bool plain = compression == Uncompressed && (bitsPerPixel == 24 || bitsPerPixel == 32);
  const bool fields = compression == BitFields && bitsPerPixel == 32 && PlainMasks(masks);
  if (!plain && !fields) return TBmpError::Unsupported;
  const std::size_t pixelBytes = bitsPerPixel / 8;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * pixelBytes + 3) / 4 * 4;
  const std::uint64_t rowsSize = std::uint64_t{rowBytes} * static_cast<std::uint64_t>(height);
  if (rowsSize > MaxImageBytes) return TBmpError::BadSize;

  // The palette of a file that has one is never used for these depths.
  if (std::uint64_t{colorsUsed} * 4 > data.size() - headersEnd) return TBmpError::ShortPalette;
  if (dataOffset < headersEnd || dataOffset >= data.size()) return TBmpError::BadOffset;
  const std::span<const std::uint8_t> stored = data.subspan(dataOffset);
  const std::uint64_t readSize = imageSize != 0 ? imageSize : rowsSize;
  if (readSize > stored.size()) return TBmpError::ShortPixels;
  // An image-size field smaller than the rows leaves the rest black rather
  // than letting the conversion and the upload run past the buffer.
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(std::max(readSize, rowsSize)));
  std::copy_n(stored.begin(), static_cast<std::size_t>(readSize), pixels.begin());
  if (storedHeight < 0) FlipRows(pixels, rowBytes, static_cast<std::size_t>(height));

  const bool opaque = fields && masks[3] == 0;
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    std::uint8_t* pixel = pixels.data() + rowBytes * y;
    for (std::int32_t x = 0; x < width; ++x, pixel += pixelBytes) {
      std::swap(pixel[0], pixel[2]);
      if (opaque) pixel[3] = 255;
    }
  }

  image.Width = static_cast<std::uint16_t>(width);
  image.Height = static_cast<std::uint16_t>(height);
  image.Layout = pixelBytes == 4 ? TPixelLayout::Rgba : TPixelLayout::Rgb;
  image.RowAlignment = 4;
  image.Pixels = std::move(pixels);
  return TBmpError::None;
}

const char* DescribeBmpError(TBmpError error) {
  switch (error) {
    case TBmpError::None: break;
    case TBmpError::ShortHeader: return "the headers are cut short";
    case TBmpError::UnknownHeader: return "the information header is not 40, 52, 56, 108 or 124 bytes";
    case TBmpError::BadSize: return "the width or height is 0 or too large for a texture";
    case TBmpError::Unsupported:
      return "only uncompressed 24- and 32-bit pixels, or 32-bit bit fields in blue-green-red-alpha order, are read";
    case TBmpError::ShortPalette: return "the palette runs past the end of the file";
    case TBmpError::BadOffset: return "the pixel data offset lies outside the file or inside its headers";
    case TBmpError::ShortPixels: return "the pixel data runs past the end of the file";
  }
  return "no error";
}
