#include "tools/tarnxm/song_length.h"

#include <cmath>

std::optional<std::int64_t> FramesToSongEnd(TTarnXMRenderer& renderer) {
  const TTarnXMSubsong& song = renderer.Subsongs().front();
  if (!song.Ends) return std::nullopt;
  return std::llround(song.Seconds * renderer.Options().SampleRate);
}

std::optional<std::int64_t> SongDurationMs(TTarnXMRenderer& renderer) {
  const std::optional<std::int64_t> frames = FramesToSongEnd(renderer);
  if (!frames) return std::nullopt;
  const std::int64_t rate = renderer.Options().SampleRate;
  return (*frames * 1000 + rate / 2) / rate;
}
