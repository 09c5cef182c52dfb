#pragma once
// A growable block of bytes with a read/write position, in which the module
// keeps the raw bytes of some extension chunks. It grows in steps of 64 KiB.
#include <cstdint>
#include <memory>

class TTarnXMStream {
 public:
  static constexpr std::int64_t Granularity = 65536;

  TTarnXMStream() = default;
  TTarnXMStream(const TTarnXMStream&) = delete;
  TTarnXMStream& operator=(const TTarnXMStream&) = delete;
  virtual ~TTarnXMStream() = default;

  // Frees the memory; position, size and capacity become 0. Returns 0.
  virtual std::int64_t Clear();
  // Copies up to count bytes from the position on; returns how many.
  virtual std::int64_t Read(void* buffer, std::int64_t count);
  // Read at offset, or 0 when the stream cannot seek there.
  virtual std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count);
  // Overwrites in place, then appends what remains; returns the bytes taken.
  virtual std::int64_t Write(const void* buffer, std::int64_t count);
  // A negative offset means 0; seeking past the end zero-fills up to there.
  virtual std::int64_t Seek(std::int64_t offset);
  virtual std::int64_t GetPosition() const { return Position; }
  virtual std::int64_t GetSize() const { return Size; }

  // The capacity becomes the next multiple of Granularity above newSize.
  void SetSize(std::int64_t newSize);
  std::int64_t GetCapacity() const { return Capacity; }
  const std::uint8_t* GetMemory() const { return Memory.get(); }

 private:
  std::int64_t Position = 0;
  std::int64_t Size = 0;
  std::int64_t Capacity = 0;
  std::unique_ptr<std::uint8_t[]> Memory;
};
