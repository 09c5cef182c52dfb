#include "player/interpolation_tables.h"

#include <cfenv>
#include <cmath>

namespace {

// Nearest integer, ties to even (the default rounding mode).
std::int32_t Nearest(long double value) { return static_cast<std::int32_t>(std::nearbyintl(value)); }

}  // namespace

TTarnXMCubicSpline::TTarnXMCubicSpline() {
  const double step = 1.0 / 1024;
  for (int r = 0; r < Rows; ++r) {
    const long double x = r * step;
    const long double x2 = x * x;
    const long double x3 = x2 * x;
    std::int32_t* w = &Table[static_cast<std::size_t>(r) * Taps];
    w[0] = Nearest(16384 * (-0.5L * x3 + 1.0L * x2 - 0.5L * x));
    w[1] = Nearest(16384 * (1.5L * x3 - 2.5L * x2 + 1));
    w[2] = Nearest(16384 * (-1.5L * x3 + 2.0L * x2 + 0.5L * x));
    w[3] = Nearest(16384 * (0.5L * x3 - 0.5L * x2));
  }
}

TTarnXMWindowedFIR::TTarnXMWindowedFIR() {
  constexpr double Pi = 3.14159265358979323846;
  constexpr double QuarterPi = 0.7853981633974483;
  const double nearZero = static_cast<double>(9.99999996e-13f);
  for (int r = 0; r < Rows; ++r) {
    const double o = r / 4096.0 - 0.5;
    for (int j = 0; j < Taps; ++j) {
      const double b = j - o;
      const double c = b - 4;
      double weight = 1.0;
      if (std::fabs(c) >= nearZero) {
        const double angle = b * QuarterPi;
        weight = (std::sin(c * Pi) / (Pi * c)) * (0.42 - 0.5 * std::cos(angle) + 0.08 * std::cos(2 * angle));
      }
      Table[static_cast<std::size_t>(r) * Taps + static_cast<std::size_t>(j)] = Nearest(32768 * weight);
    }
  }
}
