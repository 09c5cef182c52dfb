#include "player/sample_decoders.h"

#include <array>
#include <cstddef>
#include <type_traits>

namespace {

// One channel of delta-coded data: frames deltas of Word type (uint8_t or
// uint16_t), summed with wrap-around, written every channels values.
template <typename Word>
void DecodeDeltaChannel(TByteReader& reader, std::int64_t frames, std::int32_t channels, std::int32_t* out) {
  constexpr int Size = sizeof(Word);
  const std::span<const std::uint8_t> bytes = reader.Take(frames * Size);
  const std::int64_t present = static_cast<std::int64_t>(bytes.size()) / Size;
  Word sum = 0;
  for (std::int64_t f = 0; f < frames; ++f) {
    if (f < present) {
      const std::uint8_t* delta = bytes.data() + f * Size;
      sum = static_cast<Word>(sum + (Size == 1 ? delta[0] : WordLE(delta)));
    }
    using Signed = std::make_signed_t<Word>;
    out[f * channels] = Size == 1 ? static_cast<Signed>(sum) * 256 : static_cast<Signed>(sum);
  }
}

template <typename Word>
bool DecodeDelta(TByteReader& reader, TTarnXMSample& sample, std::int64_t bytes) {
  const std::int32_t channels = sample.Channels == 2 ? 2 : 1;
  const std::int64_t frames = bytes / static_cast<std::int64_t>(sizeof(Word)) / channels;
  if (!sample.AllocateData(static_cast<std::size_t>(frames * channels))) return false;
  for (std::int32_t c = 0; c < channels && frames > 0; ++c)
    DecodeDeltaChannel<Word>(reader, frames, channels, sample.Data + c);
  return true;
}

}  // namespace

bool DecodeDelta8(TByteReader& reader, TTarnXMSample& sample, std::int64_t bytes) {
  return DecodeDelta<std::uint8_t>(reader, sample, bytes);
}

bool DecodeDelta16(TByteReader& reader, TTarnXMSample& sample, std::int64_t bytes) {
  return DecodeDelta<std::uint16_t>(reader, sample, bytes);
}

bool DecodeADPCM(TByteReader& reader, TTarnXMSample& sample, std::int64_t values) {
  std::array<std::int8_t, 16> table;
  reader.ReadBytes(table.data(), static_cast<std::int64_t>(table.size()));
  if (!sample.AllocateData(static_cast<std::size_t>(values > 0 ? values : 0))) return false;
  const std::span<const std::uint8_t> packed = reader.Take((values + 1) / 2);
  std::int8_t sum = 0;
  for (std::int64_t k = 0; k < values; ++k) {
    const std::int64_t byte = k / 2;
    const std::uint8_t bits = byte < static_cast<std::int64_t>(packed.size()) ? packed[byte] : 0;
    sum = static_cast<std::int8_t>(sum + table[k % 2 == 0 ? bits & 0x0F : bits >> 4]);
    sample.Data[k] = sum * 256;
  }
  return true;
}
