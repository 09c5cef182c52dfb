#pragma once
// The building blocks the instrument synthesisers share: a repeatable noise
// source, band-limited oscillator edges and a state-variable filter.
#include <cstddef>
#include <cstdint>

constexpr double Pi = 3.14159265358979323846;

// Whole frames in `seconds` at `rate`.
inline std::size_t Frames(double seconds, double rate) { return static_cast<std::size_t>(seconds * rate); }

// A xorshift generator, so that every build makes the same samples.
class TNoise {
 public:
  explicit TNoise(std::uint32_t seed) : State(seed ? seed : 1) {}
  // Uniform in [-1, 1).
  double Next();

 private:
  std::uint32_t State;
};

// The correction that removes the aliasing of a jump of height 2 at phase 0,
// for an oscillator advancing by step (cycles per frame).
double PolyBlep(double phase, double step);
// A falling saw from +1 to -1 over one cycle, phase in [0, 1).
double BandLimitedSaw(double phase, double step);
// +1 for the first `width` of the cycle, -1 for the rest.
double BandLimitedPulse(double phase, double step, double width);

// A two-pole filter that gives its low-, band- and high-pass outputs at once.
// Resonance 0 is flat, towards 1 it rings.
class TStateVariableFilter {
 public:
  struct TOutput {
    double Low, Band, High;
  };
  TOutput Process(double input, double cutoffHz, double resonance, double rate);

 private:
  double Integrator1 = 0;
  double Integrator2 = 0;
};
