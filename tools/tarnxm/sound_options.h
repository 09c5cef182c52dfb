#pragma once
// The options that say how a song sounds, shared by the commands that play
// one: --rate HZ, --mono, --interpolation none|linear|cubic|sinc, --no-clip,
// --gain dB, --stereo PERCENT, --mute LIST, --solo LIST, --subsong N,
// --start TIME, --loops N, --end-time TIME.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"

namespace CLI {
class App;
}

// The tools' level: the engine mixes at full scale, which clips busy songs;
// this cut leaves at most 0.1 % clipped samples on nearly every module.
constexpr double DefaultGainDb = -6;

struct TSoundOptions {
  std::int32_t Rate = 44100;
  bool Stereo = true;
  TTarnXMInterpolation Interpolation = TTarnXMInterpolation::Sinc;
  bool Clipping = true;
  double GainDb = DefaultGainDb;
  std::int32_t StereoPercent = 100;
  // Channel indices from 0 (the options count from 1).
  std::vector<std::int32_t> Muted;
  std::vector<std::int32_t> Solo;
  std::int32_t Subsong = 0;
  double StartSeconds = 0;
  std::int32_t Loops = 0;  // times the song comes round again; -1 for ever
  std::optional<double> EndSeconds;
};

// The sound options on a command, set into options as they are read.
void AddSoundOptions(CLI::App& command, TSoundOptions& options);

// "83.5" or "m:ss[.fff]" in seconds; none when the text is neither.
std::optional<double> ParseTime(const std::string& text);
// "1,3-5" as channel indices from 0 ({0, 2, 3, 4}); none when malformed.
std::optional<std::vector<std::int32_t>> ParseChannelList(const std::string& text);

// The renderer's options for the sound options: rate, channels,
// interpolation, clipping, gain, separation and loops.
TTarnXMRenderOptions RenderOptions(const TSoundOptions& options);

// The options on a renderer that has the song: the subsong, mutes and solos,
// separation, gain and loops, then the start. problem says why the subsong
// or the start does not exist (the renderer is then at the first subsong's
// start). Channels the song lacks are ignored.
void ApplySoundOptions(TTarnXMRenderer& renderer, const TSoundOptions& options, std::string& problem);

// Minutes, seconds and milliseconds: "1:02.345".
std::string ClockText(double seconds);
