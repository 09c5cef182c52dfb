#include "tools/tarnxm/sound_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

// The rates the renderer mixes at.
constexpr std::int32_t LowestRate = 8000;
constexpr std::int32_t HighestRate = 192000;
// Channels a song can have.
constexpr std::int32_t MostChannels = 256;
constexpr double LowestGainDb = -96;
constexpr double HighestGainDb = 24;

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end;
}

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

// The value of the option arg, or what is wrong with it.
std::string ParseValue(const std::string& arg, const std::string& value, TSoundOptions& options) {
  if (arg == "--rate")
    return ParseNumber(value, options.Rate) && InRange(options.Rate, LowestRate, HighestRate)
               ? ""
               : "--rate takes 8000 to 192000 Hz";
  if (arg == "--interpolation") {
    const char* const names[] = {"none", "linear", "cubic", "sinc"};
    const auto found = std::find(std::begin(names), std::end(names), value);
    if (found == std::end(names)) return "--interpolation takes none, linear, cubic or sinc";
    options.Interpolation = static_cast<TTarnXMInterpolation>(found - std::begin(names));
    return "";
  }
  if (arg == "--gain")
    return ParseNumber(value, options.GainDb) && options.GainDb >= LowestGainDb && options.GainDb <= HighestGainDb
               ? ""
               : "--gain takes -96 to 24 dB";
  if (arg == "--stereo")
    return ParseNumber(value, options.StereoPercent) && InRange(options.StereoPercent, 0, 100)
               ? ""
               : "--stereo takes 0 to 100 percent";
  if (arg == "--mute" || arg == "--solo") {
    const std::optional<std::vector<std::int32_t>> list = ParseChannelList(value);
    if (!list) return arg + " takes channels 1 to 256 like 1,3-5";
    (arg == "--mute" ? options.Muted : options.Solo) = *list;
    return "";
  }
  if (arg == "--subsong")
    return ParseNumber(value, options.Subsong) && options.Subsong >= 0 ? "" : "--subsong takes a number from 0";
  if (arg == "--loops")
    return ParseNumber(value, options.Loops) && options.Loops >= -1 ? "" : "--loops takes -1 (for ever) or more";
  const std::optional<double> time = ParseTime(value);
  if (!time) return arg + " takes seconds (83.5) or m:ss[.fff]";
  if (arg == "--start") {
    options.StartSeconds = *time;
  } else {
    if (*time <= 0) return "--end-time takes a time above 0";
    options.EndSeconds = time;
  }
  return "";
}

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
  static const char* const valued[] = {"--rate", "--interpolation", "--gain",  "--stereo", "--mute",
                                       "--solo", "--subsong",       "--start", "--loops",  "--end-time"};
  if (std::find(std::begin(valued), std::end(valued), arg) == std::end(valued)) return false;
  if (k + 1 >= args.size()) {
    problem = arg + " needs a value";
    return true;
  }
  problem = ParseValue(arg, args[++k], options);
  return true;
}

std::optional<double> ParseTime(const std::string& text) {
  const std::string_view whole(text);
  const std::size_t colon = whole.find(':');
  double minutes = 0;
  double seconds = 0;
  if (colon == std::string_view::npos) {
    if (!ParseNumber(whole, seconds)) return std::nullopt;
  } else {
    std::int32_t wholeMinutes = 0;
    const std::string_view rest = whole.substr(colon + 1);
    // Two digits of seconds, below 60, with an optional fraction.
    const bool twoDigits = rest.size() >= 2 && std::isdigit(static_cast<unsigned char>(rest[0])) &&
                           std::isdigit(static_cast<unsigned char>(rest[1])) && (rest.size() == 2 || rest[2] == '.');
    if (!ParseNumber(whole.substr(0, colon), wholeMinutes) || wholeMinutes < 0 || !twoDigits ||
        !ParseNumber(rest, seconds) || seconds >= 60)
      return std::nullopt;
    minutes = wholeMinutes;
  }
  if (!std::isfinite(seconds) || seconds < 0) return std::nullopt;
  return minutes * 60 + seconds;
}

std::optional<std::vector<std::int32_t>> ParseChannelList(const std::string& text) {
  std::vector<std::int32_t> channels;
  std::string_view rest(text);
  while (true) {
    const std::string_view item = rest.substr(0, rest.find(','));
    const std::size_t dash = item.find('-');
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (!ParseNumber(item.substr(0, dash), first)) return std::nullopt;
    last = first;
    if (dash != std::string_view::npos && !ParseNumber(item.substr(dash + 1), last)) return std::nullopt;
    if (!InRange(first, 1, MostChannels) || !InRange(last, first, MostChannels)) return std::nullopt;
    for (std::int32_t channel = first; channel <= last; ++channel) channels.push_back(channel - 1);
    if (item.size() == rest.size()) break;
    rest.remove_prefix(item.size() + 1);
  }
  std::sort(channels.begin(), channels.end());
  channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
  return channels;
}

TTarnXMRenderOptions RenderOptions(const TSoundOptions& options) {
  TTarnXMRenderOptions render;
  render.SampleRate = options.Rate;
  render.Stereo = options.Stereo;
  render.Interpolation = options.Interpolation;
  render.Clipping = options.Clipping;
  render.GainDb = options.GainDb;
  render.StereoSeparation = options.StereoPercent;
  render.Loops = options.Loops;
  return render;
}

void ApplySoundOptions(TTarnXMRenderer& renderer, const TSoundOptions& options, std::string& problem) {
  if (!renderer.SelectSubsong(options.Subsong, &problem)) renderer.SelectSubsong(0);
  renderer.UnmuteAll();
  if (!options.Solo.empty()) renderer.Solo(options.Solo.front());
  for (const std::int32_t channel : options.Solo) renderer.SetMuted(channel, false);
  for (const std::int32_t channel : options.Muted) renderer.SetMuted(channel, true);
  renderer.SetStereoSeparation(options.StereoPercent);
  renderer.SetGain(options.GainDb);
  renderer.SetLoops(options.Loops, renderer.Options().EndAction);
  if (!problem.empty() || options.StartSeconds <= 0) return;
  renderer.SeekTime(options.StartSeconds);
  if (renderer.Ended()) {
    problem = "--start " + ClockText(options.StartSeconds) + " is past the end of the song";
    renderer.Rewind();
  }
}

std::string ClockText(double seconds) {
  const auto millis = static_cast<std::int64_t>(std::llround(seconds * 1000));
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", static_cast<long long>(millis / 60000),
                static_cast<long long>(millis / 1000 % 60), static_cast<long long>(millis % 1000));
  return text;
}
