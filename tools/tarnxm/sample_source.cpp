#include "tools/tarnxm/sample_source.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr double Scale24 = 8388608.0;
constexpr std::int64_t Low24 = -8388608;
constexpr std::int64_t High24 = 8388607;

std::int32_t To24(float value, bool clipping) {
  const std::int64_t scaled = std::llround(static_cast<double>(value) * Scale24);
  if (clipping) return static_cast<std::int32_t>(std::clamp(scaled, Low24, High24));
  // Wrapped to 24 bits, as the 16-bit output wraps without clipping.
  return static_cast<std::int32_t>(((scaled & 0xFFFFFF) ^ 0x800000) - 0x800000);
}

}  // namespace

TSampleSource::TSampleSource(TTarnXMRenderer& renderer, TSampleFormat format)
    : Renderer(renderer), Format(format), ChannelCount(renderer.Options().Stereo ? 2 : 1) {}

std::size_t TSampleSource::Render(std::span<std::int32_t> out) {
  const std::size_t frames = out.size() / ChannelCount;
  std::size_t done = 0;
  if (Format == TSampleFormat::S16) {
    Pcm16.resize(out.size());
    done = Renderer.Render(Pcm16.data(), frames);
    std::copy_n(Pcm16.begin(), done * ChannelCount, out.begin());
    return done;
  }
  Floats.resize(out.size());
  done = Renderer.Render(Floats.data(), frames);
  const bool clipping = Renderer.Options().Clipping;
  for (std::size_t k = 0; k < done * ChannelCount; ++k)
    out[k] = Format == TSampleFormat::F32 ? std::bit_cast<std::int32_t>(Floats[k]) : To24(Floats[k], clipping);
  return done;
}
