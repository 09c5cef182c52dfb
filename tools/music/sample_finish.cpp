#include "tools/music/sample_finish.h"

#include <algorithm>
#include <cmath>

#include "tools/music/synth_dsp.h"

void RemoveDcOffset(TSignal& signal, double hz, double rate) {
  const double pole = std::exp(-2.0 * Pi * hz / rate);
  double previousInput = 0;
  double previousOutput = 0;
  for (double& value : signal) {
    const double output = value - previousInput + pole * previousOutput;
    previousInput = value;
    previousOutput = output;
    value = output;
  }
}

void RemoveMean(TSignal& signal, std::size_t from, std::size_t to) {
  to = std::min(to, signal.size());
  if (from >= to) return;
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += signal[i];
  const double mean = sum / static_cast<double>(to - from);
  for (double& value : signal) value -= mean;
}

void Normalise(TSignal& signal, double peak) {
  double largest = 0;
  for (const double value : signal) largest = std::max(largest, std::abs(value));
  if (largest == 0) return;
  for (double& value : signal) value *= peak / largest;
}

namespace {

double RaisedCosine(double x) { return 0.5 - 0.5 * std::cos(Pi * x); }

}  // namespace

void FadeIn(TSignal& signal, std::size_t frames) {
  frames = std::min(frames, signal.size());
  for (std::size_t i = 0; i < frames; ++i)
    signal[i] *= RaisedCosine(static_cast<double>(i) / static_cast<double>(frames));
}

void FadeOut(TSignal& signal, std::size_t frames) {
  frames = std::min(frames, signal.size());
  const std::size_t start = signal.size() - frames;
  for (std::size_t i = 0; i < frames; ++i)
    signal[start + i] *= RaisedCosine(static_cast<double>(frames - 1 - i) / static_cast<double>(frames));
}

void CrossfadeLoop(TSignal& signal, std::size_t loopStart, std::size_t loopEnd, std::size_t frames, TCrossfade shape) {
  frames = std::min({frames, loopStart, loopEnd - loopStart});
  for (std::size_t i = 0; i < frames; ++i) {
    const double w = static_cast<double>(i + 1) / static_cast<double>(frames);
    const double in = shape == TCrossfade::Linear ? w : std::sin(w * Pi / 2);
    const double out = shape == TCrossfade::Linear ? 1.0 - w : std::cos(w * Pi / 2);
    double& tail = signal[loopEnd - frames + i];
    tail = tail * out + signal[loopStart - frames + i] * in;
  }
}

std::size_t FindFlattestFrame(const TSignal& signal, std::size_t around, std::size_t radius) {
  const std::size_t first = std::max<std::size_t>(around > radius ? around - radius : 0, 1);
  const std::size_t last = std::min(around + radius, signal.size() - 2);
  std::size_t best = around;
  double flattest = INFINITY;
  for (std::size_t i = first; i <= last; ++i) {
    const double slope = std::abs(signal[i + 1] - signal[i - 1]);
    if (slope < flattest) {
      flattest = slope;
      best = i;
    }
  }
  return best;
}

std::vector<std::int16_t> Quantise(const TSignal& signal, int bits) {
  std::vector<std::int16_t> values;
  values.reserve(signal.size());
  for (const double value : signal) {
    const double clamped = std::clamp(value, -1.0, 1.0);
    values.push_back(bits == 8 ? static_cast<std::int16_t>(std::lround(clamped * 127) * 256)
                               : static_cast<std::int16_t>(std::lround(clamped * 32767)));
  }
  return values;
}
