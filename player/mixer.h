#pragma once
// The channel mixer: resamples a channel's sample at its step, runs its
// filter and gains, and adds the frames into the engine's mixing buffer. It
// owns the sample position while the channel sounds: loops, ping-pong turns
// and the end of a sample happen here.
#include <cstdint>

#include "player/mix_routines.h"

class TTarnXMEngine;
class TTarnXMChannel;

// One frame in the 32.32 positions and steps.
constexpr std::int64_t OneFrame = std::int64_t{1} << 32;

// Adds count frames of the channel from buffer frame offset on; a channel
// that is not audible moves on exactly as if it were, and adds nothing. Ends
// the channel when its step is 0, its sample has ended, or a ramp has ended
// silent for good.
void MixChannel(TTarnXMEngine& engine, TTarnXMChannel& channel, bool audible, std::int32_t offset, std::int32_t count);

// Applies a pending loop wrap or ping-pong turn to the position and returns
// how many frames (at most wanted) can be mixed before the next boundary; 0
// when the sample has ended.
std::int64_t SamplesToBoundary(TTarnXMChannel& channel, std::int64_t wanted);

struct TMixSelection {
  TMixRoutine Routine = nullptr;
  const std::int32_t* Table = nullptr;
};

// The routine for the channel's state and the engine's settings.
TMixSelection SelectMixRoutine(const TTarnXMEngine& engine, const TTarnXMChannel& channel);
