#pragma once
// The sequencer run alone, without mixing: where rows start and when the
// song comes round, for seeking and for finding subsongs. The song's order
// and row flow never depends on the mixer, so a scan sees what playback
// will do.
#include <cstdint>
#include <functional>

#include "player/engine.h"

struct TTarnXMScanResult {
  std::int64_t Frames = 0;  // from the scan's start to where it stopped
  bool Ended = false;       // the song came round
  bool Stopped = false;     // the row visitor asked to stop
};

// A song that has not come round within this much playing time is taken
// never to end.
constexpr std::int64_t ScanLimitSeconds = 3600;
// All the subsongs of a song together are scanned for at most this long.
constexpr std::int64_t ScanBudgetSeconds = 4 * ScanLimitSeconds;

// Ticks the engine from its current state until the song comes round, the
// visitor returns true at the start of a row (the frames then count up to
// that row's first tick), or limit frames have passed.
TTarnXMScanResult ScanSong(TTarnXMEngine& engine, std::int64_t limit,
                           const std::function<bool(const TTarnXMPlayback&)>& onRow);
