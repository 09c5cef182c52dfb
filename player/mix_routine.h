#pragma once
// The template behind the portable mix routines: the per-frame steps read,
// filter, gain, accumulate and advance, each chosen at compile time.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "player/channel.h"
#include "player/mix_routines.h"
#include "player/sample.h"

namespace mix_detail {

inline std::int32_t Saturate(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// Ramps run for at most a tick and stay far inside 32 bits; wrapping keeps a
// nonsensical step from being undefined.
inline std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

inline std::int64_t Advance(std::int64_t position, std::int64_t step) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(position) + static_cast<std::uint64_t>(step));
}

// The value at d (frame i of one side; frames Stride values apart) and the
// fraction f past it. With 16-bit sample values the cubic and sinc sums stay
// within 32 bits; the linear product does not, so it is formed in 64.
template <int Interpolation, int Stride>
inline std::int32_t ReadValue(const std::int32_t* d, std::uint32_t f, const std::int32_t* table) {
  if constexpr (Interpolation == 0) {
    return d[0];
  } else if constexpr (Interpolation == 1) {
    const std::int64_t w = f >> 16;
    return d[0] + static_cast<std::int32_t>((std::int64_t{d[Stride]} - d[0]) * w / 65536);
  } else if constexpr (Interpolation == 2) {
    const std::int32_t* c = table + (f >> 22) * 4;
    return (d[-Stride] * c[0] + d[0] * c[1] + d[Stride] * c[2] + d[2 * Stride] * c[3]) / 16384;
  } else {
    const std::int32_t* c = table + (f >> 20) * 8;
    const std::int32_t a = d[-3 * Stride] * c[0] + d[-2 * Stride] * c[1] + d[-Stride] * c[2] + d[0] * c[3];
    const std::int32_t b = d[Stride] * c[4] + d[2 * Stride] * c[5] + d[3 * Stride] * c[6] + d[4 * Stride] * c[7];
    // The weights are scaled to 32768; halving both sums keeps them in range.
    return (a / 2 + b / 2) / 16384;
  }
}

// One resonant filter step; the feedback can pass 32 bits at high
// resonance, so the sum is formed in 64 and the output saturated.
template <int Filter>
inline std::int32_t FilterValue(std::int32_t v, std::int32_t& y1, std::int32_t& y2, std::int32_t a0, std::int32_t b0,
                                std::int32_t b1) {
  const std::int32_t y = Saturate((std::int64_t{a0} * v + std::int64_t{b0} * y1 + std::int64_t{b1} * y2) / 4096);
  y2 = y1;
  y1 = Filter == LowPassFilter ? y : Saturate(std::int64_t{y} - v);
  return y;
}

template <TMixAxes A>
void MixRoutine(std::int64_t*& out, std::int32_t count, TTarnXMChannel& channel, const std::int32_t* table) {
  constexpr int Stride = A.SampleChannels;
  constexpr bool Stereo = A.OutputChannels == 2;
  const std::int32_t* data = channel.Sample->Data;
  const std::int64_t step = channel.MixIncrement;
  std::int64_t position = channel.Position;
  std::int32_t rampLeft = channel.RampLeft;
  std::int32_t rampRight = channel.RampRight;
  const std::int32_t stepLeft = channel.RampStepLeft;
  const std::int32_t stepRight = channel.RampStepRight;
  const std::int32_t volumeLeft = channel.VolumeLeft;
  const std::int32_t volumeRight = A.DifferentGains ? channel.VolumeRight : channel.VolumeLeft;
  std::int32_t y1Left = channel.FilterHistory[0], y2Left = channel.FilterHistory[1];
  std::int32_t y1Right = channel.FilterHistory[2], y2Right = channel.FilterHistory[3];
  const std::int32_t a0 = channel.FilterA0, b0 = channel.FilterB0, b1 = channel.FilterB1;
  std::int64_t* frame = out;
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int32_t* d = data + (position >> 32) * Stride;
    const auto f = static_cast<std::uint32_t>(position);
    std::int32_t left = ReadValue<A.Interpolation, Stride>(d, f, table);
    std::int32_t right = left;
    if constexpr (Stride == 2) {
      right = ReadValue<A.Interpolation, Stride>(d + 1, f, table);
      if constexpr (!Stereo) left = (left + right) / 2;
    }
    if constexpr (A.Filter != NoFilter) {
      left = FilterValue<A.Filter>(left, y1Left, y2Left, a0, b0, b1);
      right = Stereo && Stride == 2 ? FilterValue<A.Filter>(right, y1Right, y2Right, a0, b0, b1) : left;
    }
    std::int32_t gainLeft = volumeLeft;
    std::int32_t gainRight = volumeRight;
    if constexpr (A.Ramping) {
      rampLeft = WrapAdd(rampLeft, stepLeft);
      gainLeft = gainRight = rampLeft / 4096;
      if constexpr (A.DifferentGains) {
        rampRight = WrapAdd(rampRight, stepRight);
        gainRight = rampRight / 4096;
      }
    }
    frame[0] += std::int64_t{gainLeft} * left;
    if constexpr (Stereo) frame[1] += std::int64_t{gainRight} * right;
    frame += A.OutputChannels;
    position = Advance(position, step);
  }
  channel.Position = position;
  if constexpr (A.Ramping) {
    channel.RampLeft = rampLeft;
    if constexpr (Stereo) channel.RampRight = A.DifferentGains ? rampRight : rampLeft;
  }
  if constexpr (A.Filter != NoFilter) channel.FilterHistory = {y1Left, y2Left, y1Right, y2Right};
  out = frame;
}

// The axes of cell number cell of a table, counted with the innermost axis
// fastest.
constexpr TMixAxes CellAxes(int outputChannels, int cell) {
  const int gains = outputChannels == 2 ? 2 : 1;
  const int filter = cell / gains % 3;
  const int ramping = cell / gains / 3 % 2;
  const int sampleLayout = cell / gains / 6 % 2;
  const int interpolation = cell / gains / 12;
  return {outputChannels, interpolation, sampleLayout + 1, ramping != 0, filter, gains == 2 && cell % 2 == 1};
}

}  // namespace mix_detail
