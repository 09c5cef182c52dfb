#include "tools/tarnxm/play_status.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "tools/tarnxm/sound_options.h"

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
  return status;
}

std::string StatusLine(const TPlayStatus& status) {
  // The meter spans 48 dB below full scale.
  constexpr int MeterWidth = 12;
  constexpr double MeterRange = 48;
  const double decibels = status.Level > 0 ? 20 * std::log10(status.Level) : -MeterRange;
  const int lit =
      std::clamp(static_cast<int>(std::lround((decibels + MeterRange) / MeterRange * MeterWidth)), 0, MeterWidth);
  char text[176];
  std::snprintf(text, sizeof text,
                "%s  order %d/%d  pattern %d  row %d/%d  speed %d  tempo %d  channels %d/%d  [%s%s]  underruns %u%s",
                ClockText(status.Seconds).c_str(), status.Order, status.SongLength, status.Pattern, status.Row,
                status.Rows, status.Speed, status.Tempo, status.Sounding, status.Channels,
                std::string(lit, '#').c_str(), std::string(MeterWidth - lit, '.').c_str(), status.Underruns,
                status.Paused ? "  paused" : "");
  return text;
}
