#pragma once
// How far two players' runs of the same module are apart.
#include <cstdint>

#include "bench/peer_compare/run.h"

struct TComparison {
  double DurationPercent = 0;     // ours against the peer's
  std::int64_t ChannelTicks = 0;  // sounding in both, at the same row
  double PitchApartShare = 0;     // of those, more than 10 cents apart
  double LevelCorrelation = 0;    // of the per-window RMS
  std::int32_t WindowsApart = 0;  // more than 3 dB apart
  double ClippedShare = 0;        // of our samples, at the default level
};

TComparison Compare(const TRun& ours, const TRun& peer);
