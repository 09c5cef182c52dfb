#pragma once
// One pass through a module rendered by the intro's own engine, as the intro
// sets it up (44100 Hz stereo, windowed-FIR interpolation, clipping on,
// master volume 128), up to the moment the song starts over.
#include <cstdint>
#include <string>
#include <vector>

struct TSongRender {
  std::vector<std::int16_t> Samples;  // interleaved left, right
  int Rate = 44100;
  // The largest output value before the 16-bit conversion clamps it: at
  // 32768 and above the song clips.
  std::int64_t Peak = 0;
  std::string Error;
};

TSongRender RenderSong(const std::vector<std::uint8_t>& module);
