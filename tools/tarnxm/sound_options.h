#pragma once
// The options that say how a song sounds, shared by the commands that play
// one: --rate HZ, --mono, --interpolation none|linear|cubic|sinc, --no-clip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"

struct TSoundOptions {
  std::int32_t Rate = 44100;
  bool Stereo = true;
  TTarnXMInterpolation Interpolation = TTarnXMInterpolation::Sinc;
  bool Clipping = true;
};

// Takes the sound option at args[k] (and its value, advancing k): false when
// args[k] is none of them; problem says what is wrong with one that is.
bool ParseSoundOption(const std::vector<std::string>& args, std::size_t& k, TSoundOptions& options,
                      std::string& problem);

// The renderer's options for the sound options, the song played once through.
TTarnXMRenderOptions RenderOptions(const TSoundOptions& options);

// Minutes, seconds and milliseconds: "1:02.345".
std::string ClockText(double seconds);
