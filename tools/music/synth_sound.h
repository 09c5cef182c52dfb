#pragma once
// What a synthesiser hands back: the finished waveform at its own rate, the
// pitch it sounds at that rate, and its loop.
#include <cstddef>
#include <string>

#include "tools/music/sample_finish.h"
#include "tools/music/synth_params.h"
#include "tools/xm_writer/xm_song.h"

struct TSynthSound {
  TSignal Data;  // -1..1
  double Rate = 44100;
  double RootHz = 0;  // 0: unpitched, C-4 plays it at Rate
  TXmLoop Loop = TXmLoop::None;
  std::size_t LoopStart = 0;
  std::size_t LoopLength = 0;
};

// Drums: unpitched one-shots.
TSynthSound SynthesiseKick(TSynthParams& params);
TSynthSound SynthesiseSnare(TSynthParams& params);
TSynthSound SynthesiseHat(TSynthParams& params);
TSynthSound SynthesiseNoise(TSynthParams& params);
// Pitched voices.
TSynthSound SynthesiseBass(TSynthParams& params);
TSynthSound SynthesisePad(TSynthParams& params);
TSynthSound SynthesiseLead(TSynthParams& params);
TSynthSound SynthesiseChip(TSynthParams& params);
TSynthSound SynthesisePluck(TSynthParams& params);

// By the score's synth name; false for a name no synthesiser has.
bool Synthesise(const std::string& type, TSynthParams& params, TSynthSound& sound);
