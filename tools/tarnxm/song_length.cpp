#include "tools/tarnxm/song_length.h"

#include <algorithm>

std::int64_t FramesToSongEnd(TTarnXM& player, std::int64_t limit) {
  player.Rewind();
  std::int64_t frames = 0;
  while (frames < limit) {
    player.DoTick();
    if (player.Module.SongEnded) break;
    frames += player.SamplesPerTick;
  }
  player.Rewind();
  return std::min(frames, limit);
}

std::optional<std::int64_t> SongDurationMs(TTarnXM& player) {
  const std::int64_t limit = MaxDurationMs * player.SampleRate / 1000 + 1;
  const std::int64_t frames = FramesToSongEnd(player, limit);
  if (frames >= limit) return std::nullopt;
  return (frames * 1000 + player.SampleRate / 2) / player.SampleRate;
}
