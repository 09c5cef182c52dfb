#include "bench/peer_compare/level_meter.h"

#include <cmath>

namespace {

// A 16-bit render clamps anything beyond its largest value.
constexpr float FullScale = 32767.0f / 32768.0f;

}  // namespace

void TLevelMeter::Add(const float* frames, std::size_t count) {
  for (std::size_t i = 0; i < 2 * count; i += 2) {
    for (std::size_t side = 0; side < 2; ++side) {
      const float value = frames[i + side];
      SumOfSquares += double{value} * value;
      Clipped += std::abs(value) > FullScale ? 1 : 0;
    }
    Samples += 2;
    if (++FramesInWindow == WindowFrames) {
      WindowRms.push_back(std::sqrt(SumOfSquares / (2.0 * WindowFrames)));
      FramesInWindow = 0;
      SumOfSquares = 0;
    }
  }
}
