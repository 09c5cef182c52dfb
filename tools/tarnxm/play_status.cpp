#include "tools/tarnxm/play_status.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/tarnxm/sound_options.h"

TPlayStatus ReadPlayStatus(TTarnXM& player) {
  TPlayStatus status;
  player.Enter();
  const TTarnXMModule& module = player.Module;
  status.Order = module.OrderPosition;
  status.SongLength = module.SongLength;
  status.Row = module.Row;
  status.Rows = module.Patterns[module.CurrentPattern].Rows;
  status.Speed = module.Speed;
  status.Tempo = module.Tempo;
  status.Channels = std::clamp(module.NumChannels, 0, TTarnXMModule::MaxChannels);
  for (int c = 0; c < status.Channels; ++c)
    if (module.Channels[c]->Active && module.Channels[c]->FinalVolume > 0) ++status.Sounding;
  status.SongEnded = module.SongEnded;
  const std::vector<std::int16_t>& newest =
      player.Blocks[(player.CurrentHeader + TTarnXM::BufferCount - 1) % TTarnXM::BufferCount];
  int peak = 0;
  for (const std::int16_t value : newest) peak = std::max(peak, std::abs(int{value}));
  status.Level = peak / 32768.0;
  status.Underruns = player.Device->Underruns();
  player.Leave();
  return status;
}

std::string StatusLine(const TPlayStatus& status) {
  // The meter spans 48 dB below full scale.
  constexpr int MeterWidth = 12;
  constexpr double MeterRange = 48;
  const double decibels = status.Level > 0 ? 20 * std::log10(status.Level) : -MeterRange;
  const int lit =
      std::clamp(static_cast<int>(std::lround((decibels + MeterRange) / MeterRange * MeterWidth)), 0, MeterWidth);
  char text[160];
  std::snprintf(text, sizeof text,
                "%s  order %d/%d  row %d/%d  speed %d  tempo %d  channels %d/%d  [%s%s]  underruns %u%s",
                ClockText(status.Seconds).c_str(), status.Order, status.SongLength, status.Row, status.Rows,
                status.Speed, status.Tempo, status.Sounding, status.Channels, std::string(lit, '#').c_str(),
                std::string(MeterWidth - lit, '.').c_str(), status.Underruns, status.Paused ? "  paused" : "");
  return text;
}
