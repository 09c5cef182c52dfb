#include "tools/tarnxm/play_status.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tools/tarnxm/sound_options.h"

namespace {

// The cells of a meter width cells wide, spanning range dB below 1, that a
// level lights.
std::int32_t LitCells(double level, double range, std::int32_t width) {
  const double decibels = level > 0 ? 20 * std::log10(level) : -range;
  return std::clamp(static_cast<std::int32_t>(std::lround((decibels + range) / range * width)), 0, width);
}

}  // namespace

double HeardSeconds(const TTarnXM& player) {
  const auto queued = std::count_if(player.Headers.begin(), player.Headers.end(),
                                    [](const auto& header) { return !(header.Flags & platform::WHDR_DONE); });
  const double waiting = static_cast<double>(queued * player.BufferSamples) / player.SampleRate;
  return std::max(0.0, player.Renderer.Info().Seconds - waiting);
}

TPlayStatus ReadPlayStatus(TTarnXM& player) {
  TPlayStatus status;
  player.Enter();
  const TTarnXMFrameInfo info = player.Renderer.Info();
  const std::shared_ptr<const TTarnXMSong> song = player.Renderer.Song();
  const std::vector<std::int16_t>& newest =
      player.Blocks[(player.CurrentHeader + TTarnXM::BufferCount - 1) % TTarnXM::BufferCount];
  int peak = 0;
  for (const std::int16_t value : newest) peak = std::max(peak, std::abs(int{value}));
  status.Underruns = player.Device->Underruns();
  status.Seconds = HeardSeconds(player);
  status.Subsong = player.Renderer.CurrentSubsong();
  player.Leave();
  status.Order = info.Order;
  status.SongLength = static_cast<std::int32_t>(DescribeSong(*song).Orders.size());
  status.Row = info.Row;
  status.Rows = PatternRows(*song, info.Pattern);
  status.Pattern = info.Pattern;
  status.Speed = info.Speed;
  status.Tempo = info.Tempo;
  status.Channels = static_cast<std::int32_t>(info.Channels.size());
  status.Sounding = info.ChannelsSounding;
  status.SongEnded = info.Ended;
  status.Level = peak / 32768.0;
  status.ChannelStates = info.Channels;
  return status;
}

std::string StatusLine(const TPlayStatus& status) {
  // The meter spans 48 dB below full scale.
  constexpr int MeterWidth = 12;
  constexpr double MeterRange = 48;
  const std::int32_t lit = LitCells(status.Level, MeterRange, MeterWidth);
  const std::string subsong =
      status.Subsongs > 1 ? "  subsong " + std::to_string(status.Subsong) + "/" + std::to_string(status.Subsongs) : "";
  char text[200];
  std::snprintf(text, sizeof text,
                "%s  order %d/%d  pattern %d  row %d/%d  speed %d  tempo %d  channels %d/%d  [%s%s]  underruns %u%s%s",
                ClockText(status.Seconds).c_str(), status.Order, status.SongLength, status.Pattern, status.Row,
                status.Rows, status.Speed, status.Tempo, status.Sounding, status.Channels,
                std::string(lit, '#').c_str(), std::string(MeterWidth - lit, '.').c_str(), status.Underruns,
                subsong.c_str(), status.Paused ? "  paused" : "");
  return text;
}

std::string MeterRow(const TPlayStatus& status, std::int32_t columns) {
  constexpr std::int32_t NarrowestBar = 2;
  constexpr std::int32_t WidestBar = 8;
  // A channel's gain is mostly far below 1: the bars span 36 dB.
  constexpr double BarRange = 36;
  const auto channels = static_cast<std::int32_t>(status.ChannelStates.size());
  const auto digits = static_cast<std::int32_t>(std::to_string(channels).size());
  // Each meter: the channel's number, its bar and a space.
  const std::int32_t bar = channels > 0 ? std::min(WidestBar, columns / channels - digits - 1) : 0;
  if (bar < NarrowestBar) return "";
  std::string row;
  for (std::int32_t c = 0; c < channels; ++c) {
    const TTarnXMChannelState& channel = status.ChannelStates[std::size_t(c)];
    const std::string number = std::to_string(c + 1);
    const std::int32_t lit = LitCells(channel.Level, BarRange, bar);
    row += (c > 0 ? " " : "") + std::string(std::size_t(digits) - number.size(), ' ') + number;
    row += channel.Muted ? std::string(std::size_t(bar), '-')
                         : std::string(std::size_t(lit), '#') + std::string(std::size_t(bar - lit), '.');
  }
  return row;
}
