#pragma once
// The player object: owns the song, the interpolation tables and the mixing
// buffer, and renders the song into 16-bit buffers, one sequencer tick after
// another, with click removal.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "player/interpolation_tables.h"
#include "player/module.h"

class TTarnXM {
 public:
  // Interpolation settings, as the mixer numbers them.
  static constexpr std::uint8_t NoInterpolation = 0;
  static constexpr std::uint8_t LinearInterpolation = 1;
  static constexpr std::uint8_t CubicInterpolation = 2;
  static constexpr std::uint8_t SincInterpolation = 3;

  // A player for sampleRate Hz (0 means 44100), buffers of bufferSamples
  // frames, stereo or mono. Null for a negative rate or a buffer size that is
  // not positive or whose bytes do not fit 32 bits.
  static std::unique_ptr<TTarnXM> Create(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo);
  TTarnXM(const TTarnXM&) = delete;
  TTarnXM& operator=(const TTarnXM&) = delete;

  // Empties the song.
  void Clear();
  // Back to the song's start with a tick due at the next frame rendered.
  void Rewind();
  // The tick length from the module's tempo (125 where it is 0).
  void UpdateTempo();
  // One sequencer tick, then the tick length from the tempo it leaves.
  void DoTick();
  // One buffer of BufferSamples frames, OutputChannels values each.
  void RenderBuffer(std::int16_t* out);
  // Mixes every channel for up to count frames from buffer frame offset, cut
  // at the buffer's end, and returns how many frames that was.
  std::int32_t MixChunk(std::int32_t offset, std::int32_t count);
  // Adds the decaying click-removal offsets to count frames from offset.
  void Declick(std::int32_t offset, std::int32_t count);

  std::int32_t SampleRate;
  std::int32_t OutputChannels;
  std::int32_t BufferBytes;
  std::int32_t SamplesPerTick = 0;
  std::int32_t TickSamplesLeft = 0;
  // Accumulators, OutputChannels per frame; a sample value times a gain of
  // 2048 is unit level. 64 bits, so that loud channels in phase add up
  // instead of wrapping.
  std::vector<std::int64_t> MixBuffer;
  std::int64_t* MixPointer;
  TTarnXMCubicSpline CubicSpline;
  TTarnXMWindowedFIR WindowedFIR;
  std::int32_t DeclickDivisor;
  std::int32_t BufferSamples;
  TTarnXMModule Module;
  std::uint8_t Interpolation = SincInterpolation;
  bool Clipping = true;

 private:
  TTarnXM(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo);
};

// Accumulators to 16-bit output: each divided by 2048, truncating toward
// zero, then clamped to the 16-bit range, or without clipping cut to its low
// 16 bits.
void ConvertToPcm16(const std::int64_t* in, std::int16_t* out, std::size_t count, bool clipping);
