#pragma once
// The loaders' bounded reader: every read is checked against the end of the
// data, and whatever lies outside it reads as zeros. Positions are 64-bit so
// that sums of 32-bit file values can neither wrap nor turn negative.
#include <cstddef>
#include <cstdint>
#include <span>

class TTarnXMReader {
 public:
  TTarnXMReader(const std::uint8_t* source, std::size_t size)
      : Source(source), SourceSize(static_cast<std::int64_t>(size)) {}

  // Copies what is present of count bytes into destination, zero-filling all
  // of it first when fewer are present; advances by and returns the number
  // copied.
  std::int64_t ReadBytes(void* destination, std::int64_t count);
  std::uint8_t ReadByte();
  std::uint16_t ReadWord();   // little-endian
  std::uint32_t ReadDword();  // little-endian
  // The bytes present of the next count, which may be fewer; advances by
  // their number.
  std::span<const std::uint8_t> Take(std::int64_t count);
  // Bytes present from the position on (0 past the end).
  std::int64_t Remaining() const;
  // A reader of the next count bytes alone, so that a record cannot read
  // into the one after it; its reads past count (or past the data) are
  // zeros. This reader moves on by count.
  TTarnXMReader Block(std::int64_t count);

  const std::uint8_t* Source;
  std::int64_t SourceSize;
  std::int64_t ReadPosition = 0;
};

// Little- and big-endian numbers inside a block already read.
inline std::uint16_t WordLE(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }
inline std::uint32_t DwordLE(const std::uint8_t* bytes) {
  return std::uint32_t{WordLE(bytes)} | std::uint32_t{WordLE(bytes + 2)} << 16;
}
inline std::uint16_t WordBE(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]); }
