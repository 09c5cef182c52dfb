#pragma once
// The routines that the effects repeat on the ticks of a row, and the
// saturating arithmetic they write with.
#include <cstdint>

class TTarnXMChannel;

// Slides keep moving the volume, panning, period and global volume of a
// silent channel, whose values Update does not limit: held within these
// bounds, hours of sliding cannot overflow.
constexpr std::int32_t SlideLimit = 1 << 30;

// value + change, held within +-SlideLimit.
void Slide(std::int32_t& value, std::int64_t change);

// Vibrato and tremolo shapes 0 sine, 1 ramp, 2 square, 3 random (drawn from
// the process-wide generator), at position 0..63.
std::int32_t WaveformValue(std::int32_t shape, std::int32_t position);

void VibratoStep(TTarnXMChannel& channel);
void TremoloStep(TTarnXMChannel& channel);
void TremorStep(TTarnXMChannel& channel);
void TonePortamentoStep(TTarnXMChannel& channel);
void RetriggerStep(TTarnXMChannel& channel);
