#include "tools/tarnxm/sound_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <utility>

#include "tools/console/checked_option.h"

namespace {

// The rates the renderer mixes at.
constexpr std::int32_t LowestRate = 8000;
constexpr std::int32_t HighestRate = 192000;
// Channels a song can have.
constexpr std::int32_t MostChannels = 256;
constexpr double LowestGainDb = -96;
constexpr double HighestGainDb = 24;
const std::string SoundGroup = "Sound options";

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

std::function<std::string(const std::string&)> TakeChannelList(std::vector<std::int32_t>& list) {
  return [&list](const std::string& word) {
    const std::optional<std::vector<std::int32_t>> channels = ParseChannelList(word);
    if (!channels) return "takes channels 1 to 256 like 1,3-5";
    list = *channels;
    return "";
  };
}

}  // namespace

void AddSoundOptions(CLI::App& command, TSoundOptions& options) {
  const auto add = [&command](const std::string& name, const std::string& valueName, const std::string& description,
                              std::function<std::string(const std::string&)> take) {
    return AddCheckedOption(command, name, valueName, description, std::move(take))->group(SoundGroup);
  };
  add("--rate", "HZ", "mix at HZ, 8000 to 192000 (44100)", [&options](const std::string& word) {
    return ParseNumber(word, options.Rate) && InRange(options.Rate, LowestRate, HighestRate)
               ? ""
               : "takes 8000 to 192000 Hz";
  });
  command
      .add_flag_callback(
          "--mono", [&options] { options.Stereo = false; }, "one channel instead of two")
      ->group(SoundGroup);
  add("--interpolation", "KIND", "none, linear, cubic or sinc (sinc)", [&options](const std::string& word) {
    return ParseName(word, {"none", "linear", "cubic", "sinc"}, options.Interpolation)
               ? ""
               : "takes none, linear, cubic or sinc";
  });
  command
      .add_flag_callback(
          "--no-clip", [&options] { options.Clipping = false; },
          "let 16-bit and 24-bit samples wrap instead of clipping")
      ->group(SoundGroup);
  add("--gain", "DB", "the level, -96 to 24 dB (-6: room for loud songs)", [&options](const std::string& word) {
    return ParseNumber(word, options.GainDb) && options.GainDb >= LowestGainDb && options.GainDb <= HighestGainDb
               ? ""
               : "takes -96 to 24 dB";
  });
  add("--stereo", "PERCENT", "stereo separation, 0 (mono) to 100 (100)", [&options](const std::string& word) {
    return ParseNumber(word, options.StereoPercent) && InRange(options.StereoPercent, 0, 100)
               ? ""
               : "takes 0 to 100 percent";
  });
  add("--mute", "LIST", "silence channels, counted from 1: 1,3-5", TakeChannelList(options.Muted));
  add("--solo", "LIST", "hear only these channels", TakeChannelList(options.Solo));
  add("--subsong", "N", "start at subsong N, from 0 (tarnxm info lists them)", [&options](const std::string& word) {
    return ParseNumber(word, options.Subsong) && options.Subsong >= 0 ? "" : "takes a number from 0";
  });
  add("--start", "TIME", "start TIME into the subsong: seconds (83.5) or m:ss[.fff]",
      [&options](const std::string& word) {
        const std::optional<double> time = ParseTime(word);
        if (!time) return "takes seconds (83.5) or m:ss[.fff]";
        options.StartSeconds = *time;
        return "";
      });
  // play's --once sets the same count: the later of the two on the line wins.
  add("--loops", "N", "play the song N more times after the first; -1 for ever (0)",
      [&options](const std::string& word) {
        return ParseNumber(word, options.Loops) && options.Loops >= -1 ? "" : "takes -1 (for ever) or more";
      })
      ->trigger_on_parse();
  add("--end-time", "TIME", "stop at TIME into the subsong", [&options](const std::string& word) {
    const std::optional<double> time = ParseTime(word);
    if (!time) return "takes seconds (83.5) or m:ss[.fff]";
    if (*time <= 0) return "takes a time above 0";
    options.EndSeconds = time;
    return "";
  });
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
