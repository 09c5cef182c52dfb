#include "textures/bmp_decoder.h"

#include <algorithm>
#include <utility>

#include "textures/byte_reader.h"

namespace {

constexpr std::size_t HeadersSize = 14 + 40;
constexpr std::int32_t MaxSide = 65535;

}  // namespace

TBmpError DecodeBMP(std::span<const std::uint8_t> data, TImage& image) {
  if (data.size() < HeadersSize) return TBmpError::ShortHeader;
  TByteReader reader(data);
  // File header: type, file size, two reserved words and the data offset. None
  // is consulted: the pixels are taken to follow the headers and palette.
  reader.Skip(14);
  reader.ReadU32();  // information header size: always the 40-byte layout here
  const std::int32_t width = reader.ReadI32();
  const std::int32_t height = reader.ReadI32();
  reader.ReadU16();  // planes: always 1 in practice, nothing depends on it
  const std::uint16_t bitsPerPixel = reader.ReadU16();
  const std::uint32_t compression = reader.ReadU32();
  const std::uint32_t imageSize = reader.ReadU32();
  reader.ReadU32();  // horizontal resolution: meaningless for a texture
  reader.ReadU32();  // vertical resolution: likewise
  const std::uint32_t colorsUsed = reader.ReadU32();
  reader.ReadU32();  // important colours: a display hint

  // Top-down files (negative height) and the sizes a texture cannot have are
  // refused along with other depths and compressions.
  if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) return TBmpError::Unsupported;
  if (bitsPerPixel != 24 || compression != 0) return TBmpError::Unsupported;
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
  const std::uint64_t rowsSize = rowBytes * static_cast<std::uint64_t>(height);
  if (rowsSize > MaxImageBytes) return TBmpError::Unsupported;

  // The palette of a file that has one is never used for 24-bit pixels.
  if (!reader.Skip(std::uint64_t{colorsUsed} * 4)) return TBmpError::ShortPalette;

  const std::uint64_t readSize = imageSize != 0 ? imageSize : rowsSize;
  if (readSize > reader.Remaining()) return TBmpError::ShortPixels;
  // An image-size field smaller than the rows leaves the rest black rather
  // than letting the colour swap and the upload run past the buffer.
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(std::max(readSize, rowsSize)));
  const std::span<const std::uint8_t> stored = reader.Take(readSize);
  std::copy(stored.begin(), stored.end(), pixels.begin());

  for (std::int32_t y = 0; y < height; ++y) {
    std::uint8_t* row = pixels.data() + static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(y);
    for (std::int32_t x = 0; x < width; ++x) std::swap(row[x * 3], row[x * 3 + 2]);
  }

  image.Width = static_cast<std::uint16_t>(width);
  image.Height = static_cast<std::uint16_t>(height);
  image.Layout = TPixelLayout::Rgb;
  image.RowAlignment = 4;
  image.Pixels = std::move(pixels);
  return TBmpError::None;
}
