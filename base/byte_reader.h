#pragma once
// The bounded reader of every file format: each read is checked against the
// end of the data, whatever lies outside it reads as zeros, and a read that
// wanted more than was there marks the reader short. Positions are 64-bit so
// that sums of 32-bit file values can neither wrap nor turn negative.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

// Little- and big-endian numbers inside a block already read.
inline std::uint16_t WordLE(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }
inline std::uint32_t DwordLE(const std::uint8_t* bytes) {
  return std::uint32_t{WordLE(bytes)} | std::uint32_t{WordLE(bytes + 2)} << 16;
}
inline std::uint16_t WordBE(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]); }

class TByteReader {
 public:
  TByteReader(const std::uint8_t* source, std::size_t size)
      : Source(source), SourceSize(static_cast<std::int64_t>(size)) {}
  explicit TByteReader(std::span<const std::uint8_t> data) : TByteReader(data.data(), data.size()) {}

  // Bytes present from the position on (0 past the end).
  std::int64_t Remaining() const { return ReadPosition < 0 ? 0 : std::max<std::int64_t>(SourceSize - ReadPosition, 0); }
  bool AtEnd() const { return Remaining() == 0; }
  // Whether any read or skip asked for bytes the data does not have.
  bool Short() const { return ShortRead; }

  // The bytes present of the next count, which may be fewer; advances by
  // their number.
  std::span<const std::uint8_t> Take(std::int64_t count) {
    const std::int64_t n = std::clamp<std::int64_t>(count, 0, Remaining());
    if (n < count) ShortRead = true;
    if (n == 0) return {};
    const std::span<const std::uint8_t> bytes(Source + ReadPosition, static_cast<std::size_t>(n));
    ReadPosition += n;
    return bytes;
  }
  // Moves on by count bytes; false, at the end and short, when fewer remain.
  bool Skip(std::int64_t count) {
    if (count > Remaining()) {
      ReadPosition = std::max(ReadPosition, SourceSize);
      ShortRead = true;
      return false;
    }
    ReadPosition += std::max<std::int64_t>(count, 0);
    return true;
  }
  // A reader of the next count bytes alone, so that a record cannot read
  // into the one after it; its reads past count (or past the data) are
  // zeros. This reader moves on by count.
  TByteReader Block(std::int64_t count) {
    const std::int64_t start = std::clamp<std::int64_t>(ReadPosition, 0, SourceSize);
    const std::int64_t size = std::clamp<std::int64_t>(count, 0, Remaining());
    ReadPosition += std::max<std::int64_t>(count, 0);
    return TByteReader(Source + start, static_cast<std::size_t>(size));
  }

  // Copies what is present of count bytes into destination, zero-filling all
  // of it first when fewer are present; advances by and returns the number
  // copied.
  std::int64_t ReadBytes(void* destination, std::int64_t count) {
    if (count <= 0) return 0;
    if (Remaining() < count) std::memset(destination, 0, static_cast<std::size_t>(count));
    const std::span<const std::uint8_t> bytes = Take(count);
    if (!bytes.empty()) std::memcpy(destination, bytes.data(), bytes.size());
    return static_cast<std::int64_t>(bytes.size());
  }
  std::uint8_t ReadByte() {
    std::uint8_t value;
    ReadBytes(&value, 1);
    return value;
  }
  std::uint16_t ReadWord() {  // little-endian
    std::uint8_t bytes[2];
    ReadBytes(bytes, 2);
    return WordLE(bytes);
  }
  std::uint32_t ReadDword() {  // little-endian
    std::uint8_t bytes[4];
    ReadBytes(bytes, 4);
    return DwordLE(bytes);
  }
  std::int32_t ReadSignedDword() { return static_cast<std::int32_t>(ReadDword()); }

  const std::uint8_t* Source;
  std::int64_t SourceSize;
  std::int64_t ReadPosition = 0;

 private:
  bool ShortRead = false;
};
