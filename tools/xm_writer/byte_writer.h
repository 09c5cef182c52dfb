#pragma once
// Appends little-endian numbers and fixed-width text fields to a byte vector.
#include <cstdint>
#include <string>
#include <vector>

class TByteWriter {
 public:
  explicit TByteWriter(std::vector<std::uint8_t>& bytes) : Bytes(bytes) {}

  void U8(std::uint32_t value) { Bytes.push_back(static_cast<std::uint8_t>(value)); }
  void U16(std::uint32_t value) {
    U8(value);
    U8(value >> 8);
  }
  void U32(std::uint32_t value) {
    U16(value);
    U16(value >> 16);
  }
  // The text cut to width and padded with zero bytes.
  void Text(const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) U8(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
  }
  void Append(const std::vector<std::uint8_t>& data) { Bytes.insert(Bytes.end(), data.begin(), data.end()); }
  std::size_t Size() const { return Bytes.size(); }

 private:
  std::vector<std::uint8_t>& Bytes;
};
