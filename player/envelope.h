#pragma once
// A volume or panning envelope of an instrument: points of (time in ticks,
// value 0..64) with an optional sustain point and loop.
#include <array>
#include <cstdint>

struct TTarnXMEnvelopePoint {
  std::int32_t Position = 0;
  std::int32_t Value = 0;
};

class TTarnXMEnvelope {
 public:
  // Entries in the table; files fill at most the first LoadedPoints.
  static constexpr int TablePoints = 13;
  static constexpr int LoadedPoints = 12;

  void Clear() { *this = TTarnXMEnvelope(); }

  bool Enabled = false;
  bool LoopEnabled = false;
  bool SustainEnabled = false;
  std::array<TTarnXMEnvelopePoint, TablePoints> Points{};
  std::int32_t NumPoints = 0;
  std::int32_t LoopStart = 0;
  std::int32_t LoopEnd = 0;
  std::int32_t SustainPoint = 0;
};
