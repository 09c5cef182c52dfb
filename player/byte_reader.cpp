#include "player/byte_reader.h"

#include <algorithm>
#include <cstring>

std::int64_t TTarnXMReader::Remaining() const {
  return ReadPosition < 0 ? 0 : std::max<std::int64_t>(SourceSize - ReadPosition, 0);
}

std::span<const std::uint8_t> TTarnXMReader::Take(std::int64_t count) {
  const std::int64_t n = std::clamp<std::int64_t>(count, 0, Remaining());
  if (n == 0) return {};
  const std::span<const std::uint8_t> bytes(Source + ReadPosition, static_cast<std::size_t>(n));
  ReadPosition += n;
  return bytes;
}

TTarnXMReader TTarnXMReader::Block(std::int64_t count) {
  const std::int64_t start = std::clamp<std::int64_t>(ReadPosition, 0, SourceSize);
  const std::int64_t size = std::clamp<std::int64_t>(count, 0, Remaining());
  ReadPosition += std::max<std::int64_t>(count, 0);
  return TTarnXMReader(Source + start, static_cast<std::size_t>(size));
}

std::int64_t TTarnXMReader::ReadBytes(void* destination, std::int64_t count) {
  if (count <= 0) return 0;
  if (Remaining() < count) std::memset(destination, 0, static_cast<std::size_t>(count));
  const std::span<const std::uint8_t> bytes = Take(count);
  if (!bytes.empty()) std::memcpy(destination, bytes.data(), bytes.size());
  return static_cast<std::int64_t>(bytes.size());
}

std::uint8_t TTarnXMReader::ReadByte() {
  std::uint8_t value;
  ReadBytes(&value, 1);
  return value;
}

std::uint16_t TTarnXMReader::ReadWord() {
  std::uint8_t bytes[2];
  ReadBytes(bytes, 2);
  return WordLE(bytes);
}

std::uint32_t TTarnXMReader::ReadDword() {
  std::uint8_t bytes[4];
  ReadBytes(bytes, 4);
  return DwordLE(bytes);
}
