#include "platform/wav_format.h"

namespace platform {

std::vector<std::uint8_t> WavHeader(const TWavFormat& format, std::uint32_t dataBytes) {
  const std::uint32_t blockAlign = format.Channels * (format.Bits / 8u);
  const std::uint32_t formatBytes = format.FactChunk ? 18 : 16;
  // "WAVE", the format chunk, the fact chunk and the data chunk's own header.
  const std::uint32_t riffHeaderBytes = 4 + 8 + formatBytes + (format.FactChunk ? 12 : 0) + 8;
  std::vector<std::uint8_t> header;
  const auto id = [&header](const char* text) {
    for (int k = 0; k < 4; ++k) header.push_back(static_cast<std::uint8_t>(text[k]));
  };
  const auto put = [&header](std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) header.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
  };
  id("RIFF");
  put(dataBytes == UnknownWavLength ? UnknownWavLength : riffHeaderBytes + dataBytes, 4);
  id("WAVE");
  id("fmt ");
  put(formatBytes, 4);
  put(format.Tag, 2);
  put(format.Channels, 2);
  put(format.Rate, 4);
  put(format.Rate * blockAlign, 4);
  put(blockAlign, 2);
  put(format.Bits, 2);
  if (format.FactChunk) {
    put(0, 2);
    id("fact");
    put(4, 4);
    put(dataBytes / blockAlign, 4);
  }
  id("data");
  put(dataBytes, 4);
  return header;
}

}  // namespace platform
