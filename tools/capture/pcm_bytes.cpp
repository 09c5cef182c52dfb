#include "tools/capture/pcm_bytes.h"

#include <algorithm>

namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

void AppendPcm16Le(std::vector<std::uint8_t>& out, const std::int16_t* samples, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) PutLe(out, static_cast<std::uint16_t>(samples[i]), 2);
}

std::vector<std::uint8_t> WavHeader(int rate, int channels, std::uint64_t dataBytes) {
  const auto data = static_cast<std::uint32_t>(std::min<std::uint64_t>(dataBytes, 0xFFFFFFFFu - 36));
  const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
  std::vector<std::uint8_t> header{'R', 'I', 'F', 'F'};
  PutLe(header, 36 + data, 4);
  header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(header, 16, 4);
  PutLe(header, 1, 2);  // PCM
  PutLe(header, static_cast<std::uint32_t>(channels), 2);
  PutLe(header, static_cast<std::uint32_t>(rate), 4);
  PutLe(header, static_cast<std::uint32_t>(rate) * blockAlign, 4);
  PutLe(header, blockAlign, 2);
  PutLe(header, 16, 2);
  header.insert(header.end(), {'d', 'a', 't', 'a'});
  PutLe(header, data, 4);
  return header;
}
