#pragma once
// The finishing steps that make a synthesised sound a clean sample: no DC
// offset, silent ends, loops that join without a click, and quantising.
#include <cstddef>
#include <cstdint>
#include <vector>

using TSignal = std::vector<double>;

// A one-pole high-pass at `hz`: takes the offset away without moving the
// first value off zero, as subtracting the mean would.
void RemoveDcOffset(TSignal& signal, double hz, double rate);
// Subtracts the mean of [from, to).
void RemoveMean(TSignal& signal, std::size_t from, std::size_t to);
void Normalise(TSignal& signal, double peak);
// Raised-cosine fades over the first or last `frames`.
void FadeIn(TSignal& signal, std::size_t frames);
void FadeOut(TSignal& signal, std::size_t frames);

enum class TCrossfade { Linear, EqualPower };
// Blends the frames before the loop end towards the frames before the loop
// start, so that playing on from the loop end into the loop start continues
// the waveform. Linear suits a periodic sound, equal power a noisy one.
void CrossfadeLoop(TSignal& signal, std::size_t loopStart, std::size_t loopEnd, std::size_t frames, TCrossfade shape);
// The frame within `radius` of `around` where the waveform is flattest: a
// ping-pong loop that turns there has no corner.
std::size_t FindFlattestFrame(const TSignal& signal, std::size_t around, std::size_t radius);

// 16-bit values; 8-bit samples get values whose low byte is 0.
std::vector<std::int16_t> Quantise(const TSignal& signal, int bits);
