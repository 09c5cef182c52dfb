#pragma once
// The RMS of a stereo render per 100 ms window, and how many of its samples
// reach full scale.
#include <cstddef>
#include <cstdint>
#include <vector>

class TLevelMeter {
 public:
  explicit TLevelMeter(int rate) : WindowFrames(rate / 10) {}
  // Interleaved left, right.
  void Add(const float* frames, std::size_t count);

  std::vector<double> WindowRms;
  std::int64_t Samples = 0;
  std::int64_t Clipped = 0;

 private:
  int WindowFrames;
  int FramesInWindow = 0;
  double SumOfSquares = 0;
};
