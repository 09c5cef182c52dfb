#pragma once
// The renderer's output as the samples an audio file stores: 16-bit as the
// renderer clips it, 24-bit from its float output (clipped or wrapped as
// the renderer's clipping says), or the floats themselves.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "tarnxm/tarnxm.h"
#include "tools/tarnxm/audio_writer.h"

class TSampleSource {
 public:
  TSampleSource(TTarnXMRenderer& renderer, TSampleFormat format);
  std::size_t Channels() const { return ChannelCount; }
  // Up to out.size() / Channels() frames; returns the frames rendered,
  // fewer only where the song ended.
  std::size_t Render(std::span<std::int32_t> out);

 private:
  TTarnXMRenderer& Renderer;
  TSampleFormat Format;
  std::size_t ChannelCount;
  std::vector<std::int16_t> Pcm16;
  std::vector<float> Floats;
};
