#pragma once
// The texture generator's pseudo-random generator: a linear congruential
// state that is 0 at program start and never reseeded, so that the texture
// is the same on every run.
#include <cstdint>

// Advances the state, then returns a number in 0..n-1 (0 when n is 0).
std::uint32_t RandomBelow(std::uint32_t n);

std::uint32_t RandomState();
void SetRandomState(std::uint32_t state);
