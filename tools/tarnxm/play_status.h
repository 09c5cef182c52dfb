#pragma once
// The one-line status of tarnxm play: time, position, speed and tempo,
// channels sounding, the level of the newest buffer and the underruns.
#include <cstdint>
#include <string>

#include "player/output/player.h"

struct TPlayStatus {
  double Seconds = 0;
  std::int32_t Order = 0;
  std::int32_t SongLength = 0;
  std::int32_t Row = 0;
  std::int32_t Rows = 0;
  std::int32_t Pattern = 0;
  std::int32_t Speed = 0;
  std::int32_t Tempo = 0;
  std::int32_t Sounding = 0;
  std::int32_t Channels = 0;
  double Level = 0;  // the newest buffer's peak, 0 to 1
  std::uint32_t Underruns = 0;
  bool Paused = false;
  bool SongEnded = false;
};

// The song's state between two refills; Seconds and Paused are the caller's.
// The player holds a song.
TPlayStatus ReadPlayStatus(TTarnXM& player);

std::string StatusLine(const TPlayStatus& status);
