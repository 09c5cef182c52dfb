#pragma once
// Appends numbers and fixed-width text fields to a byte vector.
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

class TByteWriter {
 public:
  explicit TByteWriter(TBytes& bytes) : Bytes(bytes) {}

  void U8(std::uint32_t value) { Bytes.push_back(static_cast<std::uint8_t>(value)); }
  // Little-endian, as XM files store them.
  void U16(std::uint32_t value) {
    U8(value);
    U8(value >> 8);
  }
  void U32(std::uint32_t value) {
    U16(value);
    U16(value >> 16);
  }
  // Big-endian, as MOD files store them.
  void U16BigEndian(std::uint32_t value) {
    U8(value >> 8);
    U8(value);
  }
  // The text cut to width and padded with zero bytes.
  void Text(std::string_view text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) U8(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
  }
  void Append(const TBytes& data) { Bytes.insert(Bytes.end(), data.begin(), data.end()); }
  // Pads with zero bytes or cuts to size.
  void Resize(std::size_t size) { Bytes.resize(size); }
  std::size_t Size() const { return Bytes.size(); }

 private:
  TBytes& Bytes;
};

inline TBytes Joined(std::initializer_list<TBytes> parts) {
  TBytes all;
  for (const TBytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
