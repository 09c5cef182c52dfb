#pragma once
// Turns a score into the song the module writer takes: synthesises every
// instrument, lays out every pattern and fills the order list, names and
// macro table.
#include <string>

#include "tools/music/score.h"
#include "tools/xm_writer/xm_song.h"

struct TSongBuildResult {
  TXmSong Song;
  std::string Error;  // empty when the song was built
};

TSongBuildResult BuildSong(const TScore& score);

// The macro table a module starts with before any "MIDI" chunk: the filter
// cutoff on parametered macro 0, resonance steps on fixed macros 0..15.
std::vector<std::string> DefaultMacros();

// Relative note and fine tune that make C-4 play `rateAtC4` frames per
// second, the rest of the notes following in equal temperament.
void TuneSample(double rateAtC4, TXmSample& sample);
