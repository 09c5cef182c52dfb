#include "tools/module_video/scope_trigger.h"

#include <algorithm>
#include <cmath>

namespace {

// The crossings nearest the untriggered place that are compared, and the
// spacing of the frames their likeness is measured on: enough for the
// harmonics of a bass note, cheap enough for 64 channels at 60 frames a second.
constexpr std::size_t MostCandidates = 16;
constexpr std::size_t Stride = 4;

}  // namespace

float SampleAt(std::span<const float> samples, double at) {
  const auto last = static_cast<double>(samples.size() - 1);
  at = std::clamp(at, 0.0, last);
  const auto index = static_cast<std::size_t>(at);
  if (static_cast<double>(index) >= last) return samples.back();
  const auto fraction = static_cast<float>(at - static_cast<double>(index));
  return samples[index] + (samples[index + 1] - samples[index]) * fraction;
}

double TScopeTrigger::Find(std::span<const float> samples, std::size_t width) {
  const std::size_t reach = (samples.size() - width) / 2;
  // Halfway between the extremes: for any wave with a whole period in the
  // span, the same level from frame to frame, where a mean would move with
  // the part of a period that the span holds.
  const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
  const float level = (*low + *high) / 2;

  Crossings.clear();
  for (std::size_t i = 1; i <= 2 * reach; ++i)
    if (samples[i - 1] < level && samples[i] >= level)
      Crossings.push_back(static_cast<double>(i - 1) + (level - samples[i - 1]) / (samples[i] - samples[i - 1]));
  const auto centre = static_cast<double>(reach);
  std::stable_sort(Crossings.begin(), Crossings.end(),
                   [centre](double a, double b) { return std::abs(a - centre) < std::abs(b - centre); });
  Crossings.resize(std::min(Crossings.size(), MostCandidates));

  const std::size_t points = width / Stride;
  double start = Crossings.empty() ? centre : Crossings.front();
  if (Previous.size() == points) {
    // The likeness of each candidate's trace to the last one; the nearest
    // candidate wins a tie, as every crossing of a pure tone does.
    double best = -HUGE_VAL;
    for (const double crossing : Crossings) {
      double likeness = 0;
      for (std::size_t k = 0; k < points; ++k)
        likeness += Previous[k] * (SampleAt(samples, crossing + static_cast<double>(k * Stride)) - level);
      if (likeness > best) {
        best = likeness;
        start = crossing;
      }
    }
  }
  Previous.resize(points);
  for (std::size_t k = 0; k < points; ++k)
    Previous[k] = SampleAt(samples, start + static_cast<double>(k * Stride)) - level;
  return start;
}
