#include "tools/tarnxm/sound_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// The rates the renderer mixes at.
constexpr std::int32_t LowestRate = 8000;
constexpr std::int32_t HighestRate = 192000;

}  // namespace

bool ParseSoundOption(const std::vector<std::string>& args, std::size_t& k, TSoundOptions& options,
                      std::string& problem) {
  const std::string& arg = args[k];
  if (arg == "--mono") {
    options.Stereo = false;
    return true;
  }
  if (arg == "--no-clip") {
    options.Clipping = false;
    return true;
  }
  if (arg != "--rate" && arg != "--interpolation") return false;
  if (k + 1 >= args.size()) {
    problem = arg + " needs a value";
    return true;
  }
  const std::string& value = args[++k];
  if (arg == "--rate") {
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, options.Rate);
    if (error != std::errc() || stop != end || options.Rate < LowestRate || options.Rate > HighestRate)
      problem = "--rate takes 8000 to 192000 Hz";
  } else {
    const char* const names[] = {"none", "linear", "cubic", "sinc"};
    const auto found = std::find(std::begin(names), std::end(names), value);
    if (found == std::end(names))
      problem = "--interpolation takes none, linear, cubic or sinc";
    else
      options.Interpolation = static_cast<TTarnXMInterpolation>(found - std::begin(names));
  }
  return true;
}

TTarnXMRenderOptions RenderOptions(const TSoundOptions& options) {
  TTarnXMRenderOptions render;
  render.SampleRate = options.Rate;
  render.Stereo = options.Stereo;
  render.Interpolation = options.Interpolation;
  render.Clipping = options.Clipping;
  return render;
}

std::string ClockText(double seconds) {
  const auto millis = static_cast<std::int64_t>(std::llround(seconds * 1000));
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", static_cast<long long>(millis / 60000),
                static_cast<long long>(millis / 1000 % 60), static_cast<long long>(millis % 1000));
  return text;
}
