#include "player/player.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "player/mixer.h"

std::unique_ptr<TTarnXM> TTarnXM::Create(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo) {
  const std::int64_t channels = stereo ? 2 : 1;
  if (sampleRate < 0 || bufferSamples <= 0 || channels * bufferSamples * 2 > std::numeric_limits<std::int32_t>::max())
    return nullptr;
  std::unique_ptr<TTarnXM> player(new TTarnXM(sampleRate, bufferSamples, stereo));
  player->OpenOutput();
  return player;
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

void TTarnXM::Clear() {
  const std::lock_guard<std::mutex> guard(Lock);
  Module.Clear();
}

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
  SamplesPerTick =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(frames, 1, std::numeric_limits<std::int32_t>::max()));
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

namespace {

// An offset keeps its sign while it falls, so the decay runs on magnitudes,
// where a power-of-two divisor (the one at 44100 Hz) is a shift instead of a
// slow division; and once a magnitude is below the divisor it no longer
// changes, so the rest of the run only adds.
template <int Sides>
void Decay(std::int64_t* frame, std::int32_t count, std::int64_t* const* offsets, std::uint64_t divisor) {
  const bool powerOfTwo = std::has_single_bit(divisor);
  const int shift = std::countr_zero(divisor);
  std::uint64_t magnitude[Sides];
  bool negative[Sides];
  for (int s = 0; s < Sides; ++s) {
    negative[s] = *offsets[s] < 0;
    magnitude[s] = negative[s] ? 0 - static_cast<std::uint64_t>(*offsets[s]) : static_cast<std::uint64_t>(*offsets[s]);
  }
  const auto value = [&](int s) { return static_cast<std::int64_t>(negative[s] ? 0 - magnitude[s] : magnitude[s]); };
  const auto falling = [&] {
    for (int s = 0; s < Sides; ++s)
      if (magnitude[s] >= divisor) return true;
    return false;
  };
  std::int32_t f = 0;
  for (; f < count && falling(); ++f, frame += Sides)
    for (int s = 0; s < Sides; ++s) {
      frame[s] += value(s);
      magnitude[s] -= powerOfTwo ? magnitude[s] >> shift : magnitude[s] / divisor;
    }
  std::int64_t still[Sides];
  for (int s = 0; s < Sides; ++s) still[s] = *offsets[s] = value(s);
  for (; f < count; ++f, frame += Sides)
    for (int s = 0; s < Sides; ++s) frame[s] += still[s];
}

}  // namespace

void TTarnXM::Declick(std::int32_t offset, std::int32_t count) {
  std::int64_t* const offsets[2] = {&Module.DeclickLeft, &Module.DeclickRight};
  std::int64_t* frame = MixPointer + std::int64_t{offset} * OutputChannels;
  const auto divisor = static_cast<std::uint64_t>(DeclickDivisor);
  if (OutputChannels == 2 && (Module.DeclickLeft != 0 || Module.DeclickRight != 0))
    Decay<2>(frame, count, offsets, divisor);
  else if (OutputChannels == 1 && Module.DeclickLeft != 0)
    Decay<1>(frame, count, offsets, divisor);
}

// Every output value passes here; where the compiler can make a copy for
// AVX2, the processor picks it when the program loads. Clang 14 names the
// chooser so that calls from other files find no symbol, so only GCC does;
// and not under ThreadSanitizer, whose checks in the chooser run before its
// runtime is there.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__) && \
    defined(__linux__)
__attribute__((target_clones("avx2", "default")))
#endif
void ConvertToPcm16(const std::int64_t* in, std::int16_t* out, std::size_t count, bool clipping) {
  if (clipping)
    for (std::size_t k = 0; k < count; ++k)
      out[k] = static_cast<std::int16_t>(std::clamp<std::int64_t>(in[k] / 2048, -32768, 32767));
  else
    for (std::size_t k = 0; k < count; ++k)
      out[k] = static_cast<std::int16_t>(static_cast<std::uint16_t>(in[k] / 2048));
}
