#pragma once
// A little-endian reader over bytes that cannot run past their end: reads
// past the end give 0 and mark the reader short.
#include <cstddef>
#include <cstdint>
#include <span>

class TByteReader {
 public:
  explicit TByteReader(std::span<const std::uint8_t> data) : Data(data) {}

  std::uint8_t ReadU8() {
    if (Position >= Data.size()) {
      ShortRead = true;
      return 0;
    }
    return Data[Position++];
  }
  std::uint16_t ReadU16() {
    const std::uint16_t low = ReadU8();
    return static_cast<std::uint16_t>(low | ReadU8() << 8);
  }
  std::uint32_t ReadU32() {
    const std::uint32_t low = ReadU16();
    return low | static_cast<std::uint32_t>(ReadU16()) << 16;
  }
  std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }

  // Moves on by `count` bytes; false, at the end and short, when fewer remain.
  bool Skip(std::uint64_t count) {
    if (count > Remaining()) {
      Position = Data.size();
      ShortRead = true;
      return false;
    }
    Position += static_cast<std::size_t>(count);
    return true;
  }

  // The next `count` bytes, or fewer where the data ends first; the reader
  // moves past what it returns.
  std::span<const std::uint8_t> Take(std::uint64_t count) {
    const std::size_t length = count < Remaining() ? static_cast<std::size_t>(count) : Remaining();
    const std::span<const std::uint8_t> bytes = Data.subspan(Position, length);
    Position += length;
    if (length < count) ShortRead = true;
    return bytes;
  }

  std::size_t Remaining() const { return Data.size() - Position; }
  bool AtEnd() const { return Position >= Data.size(); }
  bool Short() const { return ShortRead; }

 private:
  std::span<const std::uint8_t> Data;
  std::size_t Position = 0;
  bool ShortRead = false;
};
