#pragma once
// The process-wide pseudo-random generator: a linear congruential state that is
// 0 at program start and never reseeded. The texture generator draws from it
// at start-up, before the player's output thread exists; the player's random
// waveforms draw from it afterwards, on that thread alone.
#include <cstdint>

// Advances the state, then returns a number in 0..n-1 (0 when n is 0).
std::uint32_t RandomBelow(std::uint32_t n);

std::uint32_t RandomState();
void SetRandomState(std::uint32_t state);
