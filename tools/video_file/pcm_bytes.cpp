#include "tools/video_file/pcm_bytes.h"

namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

void AppendPcm16Le(std::vector<std::uint8_t>& out, const std::int16_t* samples, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) PutLe(out, static_cast<std::uint16_t>(samples[i]), 2);
}
