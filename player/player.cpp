#include "player/player.h"

#include <algorithm>
#include <limits>

#include "player/mixer.h"

std::unique_ptr<TTarnXM> TTarnXM::Create(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo) {
  const std::int64_t channels = stereo ? 2 : 1;
  if (sampleRate < 0 || bufferSamples <= 0 || channels * bufferSamples * 2 > std::numeric_limits<std::int32_t>::max())
    return nullptr;
  return std::unique_ptr<TTarnXM>(new TTarnXM(sampleRate, bufferSamples, stereo));
}

TTarnXM::TTarnXM(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo)
    : SampleRate(sampleRate == 0 ? 44100 : sampleRate),
      OutputChannels(stereo ? 2 : 1),
      BufferBytes(OutputChannels * bufferSamples * 2),
      MixBuffer(static_cast<std::size_t>(OutputChannels) * static_cast<std::size_t>(bufferSamples)),
      MixPointer(MixBuffer.data()),
      DeclickDivisor(static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{SampleRate} * 256 / 44100, 2))),
      BufferSamples(bufferSamples),
      Module(this) {
  Module.MixRate = SampleRate;
  Module.RampLength = static_cast<std::int32_t>(std::int64_t{SampleRate} * 128 / 44100);
  Clear();
}

void TTarnXM::Clear() { Module.Clear(); }

void TTarnXM::Rewind() {
  Module.Reset();
  UpdateTempo();
  TickSamplesLeft = 0;
}

void TTarnXM::UpdateTempo() {
  if (Module.Tempo == 0) Module.Tempo = 125;
  // A tick is at least one frame, or a very low rate would never reach the
  // next one.
  const std::int64_t frames = std::int64_t{SampleRate} * 640 / (Module.Tempo * 256);
  SamplesPerTick = static_cast<std::int32_t>(std::clamp<std::int64_t>(frames, 1, std::numeric_limits<std::int32_t>::max()));
  TickSamplesLeft = SamplesPerTick;
  Module.TickLength = SamplesPerTick;
}

std::int32_t TTarnXM::MixChunk(std::int32_t offset, std::int32_t count) {
  const std::int32_t frames = std::max(0, std::min(count, BufferSamples - std::min(offset, BufferSamples)));
  if (frames > 0) {
    TickSamplesLeft -= frames;
    const int channels = std::clamp(Module.NumChannels, 0, TTarnXMModule::MaxChannels);
    for (int c = 0; c < channels; ++c) MixChannel(*this, *Module.Channels[c], offset, frames);
    Declick(offset, frames);
  }
  return frames;
}

void TTarnXM::Declick(std::int32_t offset, std::int32_t count) {
  std::int64_t left = Module.DeclickLeft;
  std::int64_t right = Module.DeclickRight;
  std::int64_t* frame = MixPointer + std::int64_t{offset} * OutputChannels;
  if (OutputChannels == 2) {
    if (left == 0 && right == 0) return;
    for (std::int32_t f = 0; f < count; ++f, frame += 2) {
      frame[0] += left;
      frame[1] += right;
      right -= right / DeclickDivisor;
      left -= left / DeclickDivisor;
    }
    Module.DeclickRight = right;
  } else {
    if (left == 0) return;
    for (std::int32_t f = 0; f < count; ++f, ++frame) {
      frame[0] += left;
      left -= left / DeclickDivisor;
    }
  }
  Module.DeclickLeft = left;
}

void ConvertToPcm16(const std::int64_t* in, std::int16_t* out, std::size_t count, bool clipping) {
  for (std::size_t k = 0; k < count; ++k) {
    const std::int64_t value = in[k] / 2048;
    out[k] = clipping ? static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -32768, 32767))
                      : static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
  }
}
