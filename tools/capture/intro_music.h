#pragma once
// The intro's music rendered offline, sample for sample as the intro's player
// feeds the sound card: the embedded module at 44100 Hz stereo, windowed-FIR
// interpolation, clipping on, master volume 128, from the song's start and
// round again for ever.
#include <cstddef>
#include <cstdint>

#include "tarnxm/tarnxm.h"

class TIntroMusic {
 public:
  static constexpr int Rate = 44100;
  static constexpr int Channels = 2;

  TIntroMusic();

  // False when the module did not load; the intro is silent then, and so is
  // what Render gives.
  bool Loaded() const { return Renderer.Song() != nullptr; }

  // The next `frames` frames, left and right interleaved.
  void Render(std::int16_t* out, std::size_t frames);

 private:
  TTarnXMRenderer Renderer;
};
