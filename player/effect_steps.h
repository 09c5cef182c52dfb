#pragma once
// The routines that the effects repeat on the ticks of a row, and the
// saturating arithmetic they write with.
#include <cstdint>

class TTarnXMChannel;
class TTarnXMSong;
struct TTarnXMTickContext;

// Slides keep moving the volume, panning, period and global volume of a
// silent channel, whose values Update does not limit: held within these
// bounds, hours of sliding cannot overflow.
constexpr std::int32_t SlideLimit = 1 << 30;

// value + change, held within +-SlideLimit.
void Slide(std::int32_t& value, std::int64_t change);

// A linear congruential generator's next state, and a number in 0..below-1
// drawn from it.
std::uint32_t NextRandom(std::uint32_t& state, std::uint32_t below);

// Vibrato and tremolo shapes 0 sine, 1 ramp, 2 square, 3 random (drawn from
// the channel's own generator, so that playback is a value like the rest of
// its state), at position 0..63.
std::int32_t WaveformValue(std::int32_t shape, std::int32_t position, std::uint32_t& random);

void VibratoStep(TTarnXMChannel& channel);
void TremoloStep(TTarnXMChannel& channel);
void TremorStep(TTarnXMChannel& channel);
void TonePortamentoStep(const TTarnXMSong& song, TTarnXMChannel& channel);
void RetriggerStep(TTarnXMTickContext& context, TTarnXMChannel& channel);
