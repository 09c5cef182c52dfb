#include "tools/music/synth_dsp.h"

#include <algorithm>
#include <cmath>

double TNoise::Next() {
  State ^= State << 13;
  State ^= State >> 17;
  State ^= State << 5;
  return State / 2147483648.0 - 1.0;
}

double PolyBlep(double phase, double step) {
  if (phase < step) {
    const double t = phase / step;
    return t + t - t * t - 1.0;
  }
  if (phase > 1.0 - step) {
    const double t = (phase - 1.0) / step;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double BandLimitedSaw(double phase, double step) { return 1.0 - 2.0 * phase + PolyBlep(phase, step); }

double BandLimitedPulse(double phase, double step, double width) {
  double shifted = phase + 1.0 - width;
  shifted -= std::floor(shifted);
  // The difference of two saws: a rise at phase 0, a fall at `width`.
  return BandLimitedSaw(phase, step) - BandLimitedSaw(shifted, step) + 2.0 * width - 1.0;
}

TStateVariableFilter::TOutput TStateVariableFilter::Process(double input, double cutoffHz, double resonance,
                                                            double rate) {
  const double g = std::tan(Pi * std::clamp(cutoffHz, 10.0, rate * 0.45) / rate);
  const double k = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.98);
  const double a1 = 1.0 / (1.0 + g * (g + k));
  const double a2 = g * a1;
  const double a3 = g * a2;
  const double v3 = input - Integrator2;
  const double v1 = a1 * Integrator1 + a2 * v3;
  const double v2 = Integrator2 + a2 * Integrator1 + a3 * v3;
  Integrator1 = 2.0 * v1 - Integrator1;
  Integrator2 = 2.0 * v2 - Integrator2;
  return {v2, v1, input - k * v1 - v2};
}
