#pragma once
// How long a song plays once through, from the renderer's scan of its first
// subsong: the sequencer ticked alone, without mixing, from the start to
// the tick at which the song comes round.
#include <cstdint>
#include <optional>

#include "tarnxm/tarnxm.h"

// The scan follows a song this long at most; one that has not come round by
// then is taken not to end.
constexpr double LongestSeconds = 3600;

// Frames at the renderer's rate from the song's start to its end; none when
// it does not end within LongestSeconds. Leaves the renderer where it was.
std::optional<std::int64_t> FramesToSongEnd(TTarnXMRenderer& renderer);

// The same in milliseconds, rounded.
std::optional<std::int64_t> SongDurationMs(TTarnXMRenderer& renderer);
