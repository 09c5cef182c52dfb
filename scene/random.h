#pragma once
// The texture generator's pseudo-random generator: a linear congruential
// state. Each script run draws from a generator of its own, which starts at 0
// for the intro's texture, so that the texture is the same on every run.
#include <cstdint>

class TRandom {
 public:
  explicit TRandom(std::uint32_t state = 0) : State_(state) {}

  // Advances the state, then returns a number in 0..n-1 (0 when n is 0).
  std::uint32_t Below(std::uint32_t n);

  std::uint32_t State() const { return State_; }

 private:
  std::uint32_t State_;
};
