#pragma once
// The status of tarnxm play: time, position, speed and tempo, channels
// sounding, the level of the newest buffer and the underruns on one line;
// a meter for each channel on another.
#include <cstdint>
#include <string>
#include <vector>

#include "player/output/player.h"

struct TPlayStatus {
  double Seconds = 0;  // the time of the subsong that is being heard
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
  std::int32_t Subsong = 0;
  std::int32_t Subsongs = 0;  // 0 until they have been looked for
  std::vector<TTarnXMChannelState> ChannelStates;
};

// The time heard: the renderer's, less what waits in the device's queue.
// Called with the player's lock held.
double HeardSeconds(const TTarnXM& player);

// The song's state between two refills; Paused and the subsong count are
// the caller's. The player holds a song.
TPlayStatus ReadPlayStatus(TTarnXM& player);

std::string StatusLine(const TPlayStatus& status);

// One meter per channel, "3####...." (- for a channel muted), as wide as
// fits in columns; empty where not even the narrowest fit.
std::string MeterRow(const TPlayStatus& status, std::int32_t columns);
