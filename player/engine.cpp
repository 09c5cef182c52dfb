#include "player/engine.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "player/mixer.h"

namespace {

const TTarnXMCubicSpline& SharedCubicSpline() {
  static const TTarnXMCubicSpline table;
  return table;
}

const TTarnXMWindowedFIR& SharedWindowedFIR() {
  static const TTarnXMWindowedFIR table;
  return table;
}

}  // namespace

TTarnXMEngine::TTarnXMEngine(const TTarnXMRenderSettings& settings)
    : Settings(settings), CubicSpline(SharedCubicSpline()), WindowedFIR(SharedWindowedFIR()) {
  Rewind();
}

void TTarnXMEngine::Rewind() {
  Module.Reset();
  UpdateTempo();
  Module.State.TickSamplesLeft = 0;
}

void TTarnXMEngine::UpdateTempo() {
  TTarnXMPlayback& state = Module.State;
  if (state.Tempo == 0) state.Tempo = 125;
  // A tick is at least one frame, or a very low rate would never reach the
  // next one.
  const std::int64_t frames = std::int64_t{Settings.SampleRate} * 640 / (state.Tempo * 256);
  state.SamplesPerTick =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(frames, 1, std::numeric_limits<std::int32_t>::max()));
  state.TickSamplesLeft = state.SamplesPerTick;
}

void TTarnXMEngine::DoTick() {
  Module.Tick(Settings);
  UpdateTempo();
}

std::int32_t TTarnXMEngine::Render(std::int64_t* out, std::int32_t frames) {
  MixPointer = out;
  MixFrames = std::max(frames, 0);
  std::fill_n(out, static_cast<std::size_t>(MixFrames) * static_cast<std::size_t>(Settings.OutputChannels), 0);
  TTarnXMPlayback& state = Module.State;
  std::int32_t done = 0;
  while (done < MixFrames) {
    if (state.TickSamplesLeft <= 0) {
      DoTick();
      if (state.SongEnded) break;
    }
    done += MixChunk(done, state.TickSamplesLeft);
  }
  state.FramesPlayed += done;
  return done;
}

std::int32_t TTarnXMEngine::MixChunk(std::int32_t offset, std::int32_t count) {
  const std::int32_t frames = std::max(0, std::min(count, MixFrames - std::min(offset, MixFrames)));
  if (frames > 0) {
    Module.State.TickSamplesLeft -= frames;
    const int channels = Module.Song->PlayedChannels();
    for (int c = 0; c < channels; ++c) MixChannel(*this, Module.State.Channels[c], !Muted[c], offset, frames);
    // The offsets decay frame by frame with rounding, so each joins them on
    // its own frame: the sum then does not depend on where renders split.
    std::sort(DeclickStarts.begin(), DeclickStarts.begin() + static_cast<std::ptrdiff_t>(DeclickStartCount),
              [](const TDeclickStart& a, const TDeclickStart& b) { return a.Frame < b.Frame; });
    std::int32_t from = offset;
    for (std::size_t k = 0; k < DeclickStartCount; ++k) {
      Declick(from, DeclickStarts[k].Frame - from);
      from = DeclickStarts[k].Frame;
      Module.State.DeclickLeft += DeclickStarts[k].Left;
      Module.State.DeclickRight += DeclickStarts[k].Right;
    }
    DeclickStartCount = 0;
    Declick(from, offset + frames - from);
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

void TTarnXMEngine::AddDeclick(std::int32_t frame, std::int64_t left, std::int64_t right) {
  if (DeclickStartCount < DeclickStarts.size()) DeclickStarts[DeclickStartCount++] = {frame, left, right};
}

void TTarnXMEngine::Declick(std::int32_t offset, std::int32_t count) {
  TTarnXMPlayback& state = Module.State;
  std::int64_t* const offsets[2] = {&state.DeclickLeft, &state.DeclickRight};
  std::int64_t* frame = MixPointer + std::int64_t{offset} * Settings.OutputChannels;
  const auto divisor = static_cast<std::uint64_t>(Settings.DeclickDivisor);
  if (Settings.OutputChannels == 2 && (state.DeclickLeft != 0 || state.DeclickRight != 0))
    Decay<2>(frame, count, offsets, divisor);
  else if (Settings.OutputChannels == 1 && state.DeclickLeft != 0) Decay<1>(frame, count, offsets, divisor);
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
