// The frequency model: periods from notes and back, and the playback rate of
// a period. Linear periods fall by 64 per semitone; Amiga periods are the
// hardware's divisors of its clock. In both, a delta (vibrato, arpeggio)
// adds to the period: a positive one lowers the pitch.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "player/song.h"

namespace {

constexpr std::int32_t LowestNote = 1;
constexpr std::int32_t HighestNote = 132;
constexpr std::int32_t SearchedNotes = 119;
// C-4 is Amiga period 1712 (428 in ProTracker's coarser units) and plays at
// 8363 Hz.
constexpr std::uint32_t AmigaClock = 8363 * 1712;

}  // namespace

std::int32_t TTarnXMSong::PeriodFromNote(std::int32_t note, std::int32_t fineTune) const {
  const std::int32_t n = std::clamp(note, LowestNote, HighestNote);
  if (LinearFrequency) return std::max(7680 - 64 * n - fineTune / 2, 1);
  const float exponent = (132.0f - (static_cast<float>(n) + static_cast<float>(fineTune) / 128.0f)) / 12.0f;
  return static_cast<std::int32_t>(13.375f * std::exp2f(exponent));
}

std::int32_t TTarnXMSong::NoteFromPeriod(std::int32_t period, std::int32_t fineTune) const {
  for (std::int32_t n = 1; n <= SearchedNotes; ++n) {
    const std::int32_t candidate = PeriodFromNote(n, fineTune);
    if (candidate > 0 && candidate <= period) return n;
  }
  return SearchedNotes + 1;
}

std::int32_t TTarnXMSong::FrequencyFromPeriod(std::int32_t period, std::int32_t delta) const {
  if (LinearFrequency) {
    const std::int64_t exponent = 4608 - std::int64_t{period} - delta;
    const float power = std::exp2f(static_cast<float>(exponent) / 768.0f);
    // Periods far outside the limits would overflow the rate.
    const double frequency = std::round(8363.0 * static_cast<double>(power));
    return static_cast<std::int32_t>(std::min<double>(frequency, std::numeric_limits<std::int32_t>::max()));
  }
  // A delta that reaches the period would divide by zero or by a wrapped
  // divisor: the shortest period, 1, stands for it.
  const std::int64_t divisor = std::int64_t{period} + delta;
  return static_cast<std::int32_t>(AmigaClock / static_cast<std::uint64_t>(std::max<std::int64_t>(divisor, 1)));
}
