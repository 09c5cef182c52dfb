#pragma once
// The options that say how a song sounds, shared by the commands that play
// one: --rate HZ, --mono, --interpolation none|linear|cubic|sinc, --no-clip.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "player/player.h"

struct TSoundOptions {
  std::int32_t Rate = 44100;
  bool Stereo = true;
  std::uint8_t Interpolation = TTarnXM::SincInterpolation;
  bool Clipping = true;
};

// Takes the sound option at args[k] (and its value, advancing k): false when
// args[k] is none of them; problem says what is wrong with one that is.
bool ParseSoundOption(const std::vector<std::string>& args, std::size_t& k, TSoundOptions& options,
                      std::string& problem);

// A player made with the options: rate, channels, interpolation, clipping.
std::unique_ptr<TTarnXM> CreatePlayer(const TSoundOptions& options, std::int32_t bufferFrames);

// Minutes, seconds and milliseconds: "1:02.345".
std::string ClockText(double seconds);
