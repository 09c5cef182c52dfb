#pragma once
// How long a song plays before it loops: the rows are walked as the player's
// sequencer walks them (speed and tempo changes, pattern breaks, position
// jumps, pattern loops), until the order list runs out or a jump leads back
// to an order already played.
#include <cstdint>

#include "tools/xm_writer/xm_song.h"

struct TSongTiming {
  std::int64_t Frames = 0;  // at MixRate
  std::int64_t Rows = 0;
  double Seconds = 0;
};

TSongTiming TimeSong(const TXmSong& song, int mixRate = 44100);
