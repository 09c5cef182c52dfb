#pragma once
// Fixed-point weight tables for the mixer's two table-driven interpolators,
// indexed by the top bits of the playback position's fraction.
#include <array>
#include <cstdint>

// Catmull-Rom weights for p[-1], p[0], p[1], p[2]; 16384 is 1.0.
class TTarnXMCubicSpline {
 public:
  static constexpr int Rows = 1024;
  static constexpr int Taps = 4;
  static constexpr int FractionShift = 22;
  TTarnXMCubicSpline();
  const std::int32_t* Row(int row) const { return &Table[static_cast<std::size_t>(row) * Taps]; }
  std::array<std::int32_t, Rows * Taps> Table;
};

// Blackman-windowed sinc weights for p[-3] .. p[4]; 32768 is 1.0.
class TTarnXMWindowedFIR {
 public:
  static constexpr int Rows = 4096;
  static constexpr int Taps = 8;
  static constexpr int FractionShift = 20;
  TTarnXMWindowedFIR();
  const std::int32_t* Row(int row) const { return &Table[static_cast<std::size_t>(row) * Taps]; }
  std::array<std::int32_t, Rows * Taps> Table;
};
