#pragma once
// How long a song plays once through: the sequencer ticked alone, without
// mixing, from the start to the tick at which it reports the song's end.
#include <cstdint>
#include <optional>

#include "player/player.h"

// The rate at which tarnxm info measures a song.
constexpr std::int32_t DurationRate = 44100;
// Songs whose end does not come within an hour are taken not to end.
constexpr std::int64_t MaxDurationMs = 3600 * 1000;

// Frames at the player's rate from the song's start to its end; limit when
// no end comes before. Leaves the song rewound.
std::int64_t FramesToSongEnd(TTarnXM& player, std::int64_t limit);

// The song's length in milliseconds, rounded; none when it does not end
// within MaxDurationMs. The player plays at DurationRate.
std::optional<std::int64_t> SongDurationMs(TTarnXM& player);
