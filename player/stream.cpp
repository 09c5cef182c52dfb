#include "player/stream.h"

#include <algorithm>
#include <cstring>

std::int64_t TTarnXMStream::Clear() {
  Memory.reset();
  Position = 0;
  Size = 0;
  Capacity = 0;
  return 0;
}

std::int64_t TTarnXMStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t n = std::min(count, Size - Position);
  if (n <= 0) return 0;
  std::memcpy(buffer, Memory.get() + Position, static_cast<std::size_t>(n));
  Position += n;
  return n;
}

std::int64_t TTarnXMStream::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) {
  return Seek(offset) == offset ? Read(buffer, count) : 0;
}

std::int64_t TTarnXMStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  const std::int64_t inPlace = std::min(count, Size - Position);
  if (inPlace > 0) {
    std::memcpy(Memory.get() + Position, bytes, static_cast<std::size_t>(inPlace));
    Position += inPlace;
  }
  const std::int64_t written = std::max<std::int64_t>(inPlace, 0);
  if (written == count) return written;
  SetSize(Size + count - written);
  std::memcpy(Memory.get() + Position, bytes + written, static_cast<std::size_t>(count - written));
  Position += count - written;
  return count;
}

std::int64_t TTarnXMStream::Seek(std::int64_t offset) {
  Position = std::max<std::int64_t>(offset, 0);
  if (Position > Size) {
    const std::int64_t oldSize = Size;
    const std::int64_t wanted = Position;
    SetSize(wanted);
    std::memset(Memory.get() + oldSize, 0, static_cast<std::size_t>(wanted - oldSize));
    Position = wanted;
  }
  return Position;
}

void TTarnXMStream::SetSize(std::int64_t newSize) {
  newSize = std::max<std::int64_t>(newSize, 0);
  const std::int64_t capacity = (newSize / Granularity + 1) * Granularity;
  if (capacity != Capacity) {
    std::unique_ptr<std::uint8_t[]> memory(new std::uint8_t[static_cast<std::size_t>(capacity)]());
    if (Memory) std::memcpy(memory.get(), Memory.get(), static_cast<std::size_t>(std::min(Size, capacity)));
    Memory = std::move(memory);
    Capacity = capacity;
  }
  Size = newSize;
  Position = std::min(Position, Size);
}
