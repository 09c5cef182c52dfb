#pragma once
// Where each video frame's trace of a channel starts, so that a periodic wave
// stands still on the screen: at a rising crossing of the level halfway
// between its extremes, and among those the one whose trace looks most like
// the previous frame's.
#include <cstddef>
#include <span>
#include <vector>

class TScopeTrigger {
 public:
  // samples: width frames of trace with reach frames more on either side,
  // the trace's untriggered place in the middle. Returns where the trace
  // starts, in frames from samples' first (0 to 2 * reach), with the fraction
  // at which the crossing falls between two samples. A trace without a
  // crossing keeps its untriggered place.
  double Find(std::span<const float> samples, std::size_t width);

 private:
  std::vector<double> Crossings;  // kept between frames, so that finding one allocates nothing
  std::vector<float> Previous;    // the last trace less its level, every few frames of it
};

// The trace's value at a fractional frame, between the two samples around it.
float SampleAt(std::span<const float> samples, double at);
