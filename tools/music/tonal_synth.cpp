// The pitched voices. Each renders one note at a rate chosen so that a cycle
// lasts a whole number of frames; loops then span whole cycles and join
// exactly.
#include <algorithm>
#include <cmath>

#include "tools/music/synth_dsp.h"
#include "tools/music/synth_sound.h"

namespace {

// From `from` at time 0 to `to` at `time`, fast at first, then holding `to`
// exactly, so that the sound is periodic from there on.
double Glide(double t, double time, double from, double to) {
  if (t >= time) return to;
  const double left = 1.0 - t / time;
  return to + (from - to) * left * left * left;
}

// Loops the last `cycles` whole cycles of a periodic sound.
void LoopLastCycles(TSynthSound& sound, std::size_t period, std::size_t cycles) {
  const std::size_t length = sound.Data.size() / period * period;
  sound.Data.resize(length);
  sound.Loop = TXmLoop::Forward;
  sound.LoopLength = std::min(cycles, length / period - 1) * period;
  sound.LoopStart = length - sound.LoopLength;
  RemoveMean(sound.Data, sound.LoopStart, length);
  CrossfadeLoop(sound.Data, sound.LoopStart, length, period, TCrossfade::Linear);
}

std::size_t Period(TSynthParams& params, double fallback) {
  return static_cast<std::size_t>(std::max(8.0, std::round(params.Number("period", fallback))));
}

}  // namespace

// A saw or square through a resonant low-pass whose cutoff falls from
// `cutoff-start` to `cutoff-end` over `sweep` seconds, with a sine under it.
TSynthSound SynthesiseBass(TSynthParams& params) {
  TSynthSound sound;
  sound.RootHz = params.Pitch("root", 55);
  const std::size_t period = Period(params, 800);
  sound.Rate = sound.RootHz * static_cast<double>(period);
  const bool square = params.Text("wave", "saw") == "square";
  const double cutoffStart = params.Number("cutoff-start", 2800);
  const double cutoffEnd = params.Number("cutoff-end", 320);
  const double sweep = params.Number("sweep", 0.15);
  const double resonance = params.Number("resonance", 0.5);
  const double sub = params.Number("sub", 0.3);
  const double drive = params.Number("drive", 1.2);
  const std::size_t length = Frames(params.Number("length", 0.6), sound.Rate);
  const double step = 1.0 / static_cast<double>(period);
  TStateVariableFilter filter;
  for (std::size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / sound.Rate;
    const double phase = static_cast<double>(i % period) / static_cast<double>(period);
    const double wave = square ? BandLimitedPulse(phase, step, 0.5) : BandLimitedSaw(phase, step);
    const double filtered = filter.Process(wave, Glide(t, sweep, cutoffStart, cutoffEnd), resonance, sound.Rate).Low;
    const double value = filtered + sub * std::sin(2 * Pi * phase);
    sound.Data.push_back(std::tanh(drive * value));
  }
  LoopLastCycles(sound, period, static_cast<std::size_t>(params.Number("loop-cycles", 8)));
  FadeIn(sound.Data, Frames(0.002, sound.Rate));
  Normalise(sound.Data, params.Number("level", 0.9));
  return sound;
}

// Detuned saws spread evenly over `detune` cents, low-passed, with a long
// ping-pong loop that turns where the waveform is flat.
TSynthSound SynthesisePad(TSynthParams& params) {
  TSynthSound sound;
  sound.RootHz = params.Pitch("root", 220);
  sound.Rate = params.Number("rate", 32000);
  const int voices = std::clamp(static_cast<int>(params.Number("voices", 7)), 1, 16);
  const double detune = params.Number("detune", 24);
  const double cutoff = params.Number("cutoff", 3500);
  const double resonance = params.Number("resonance", 0.1);
  const double octave = params.Number("octave", 0.0);
  const std::size_t length = Frames(params.Number("length", 1.8), sound.Rate);
  TNoise noise(0x9ad);
  std::vector<double> phases;
  std::vector<double> steps;
  for (int v = 0; v < voices; ++v) {
    const double cents = voices == 1 ? 0.0 : detune * (2.0 * v / (voices - 1) - 1.0);
    phases.push_back(0.5 + 0.5 * noise.Next());
    steps.push_back(sound.RootHz * std::pow(2.0, cents / 1200) / sound.Rate);
  }
  TStateVariableFilter filter;
  double octavePhase = 0;
  for (std::size_t i = 0; i < length; ++i) {
    double sum = 0;
    for (int v = 0; v < voices; ++v) {
      sum += BandLimitedSaw(phases[v], steps[v]);
      phases[v] += steps[v];
      phases[v] -= std::floor(phases[v]);
    }
    const double octaveStep = 2 * steps[voices / 2];
    sum += octave * BandLimitedSaw(octavePhase, octaveStep);
    octavePhase += octaveStep;
    octavePhase -= std::floor(octavePhase);
    sound.Data.push_back(filter.Process(sum / std::sqrt(voices), cutoff, resonance, sound.Rate).Low);
  }
  const std::size_t radius = Frames(0.01, sound.Rate);
  const std::size_t start = FindFlattestFrame(sound.Data, Frames(params.Number("loop-start", 0.3), sound.Rate), radius);
  const std::size_t end = FindFlattestFrame(sound.Data, length - radius - 8, radius);
  sound.Loop = TXmLoop::PingPong;
  sound.LoopStart = start;
  sound.LoopLength = end + 1 - start;
  RemoveMean(sound.Data, start, end + 1);
  FadeIn(sound.Data, Frames(0.003, sound.Rate));
  Normalise(sound.Data, params.Number("level", 0.85));
  return sound;
}

// Two-operator FM: the modulation index falls from `index-start` to
// `index-end` over `index-time`, bright attack into a steadier tone.
TSynthSound SynthesiseLead(TSynthParams& params) {
  TSynthSound sound;
  sound.RootHz = params.Pitch("root", 440);
  const std::size_t period = Period(params, 100);
  sound.Rate = sound.RootHz * static_cast<double>(period);
  const double ratio = std::max(1.0, std::round(params.Number("ratio", 1)));
  const double indexStart = params.Number("index-start", 3.0);
  const double indexEnd = params.Number("index-end", 1.2);
  const double indexTime = params.Number("index-time", 0.2);
  const double feedback = params.Number("feedback", 0.3);
  const std::size_t length = Frames(params.Number("length", 0.5), sound.Rate);
  double previous = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / sound.Rate;
    const double phase = 2 * Pi * static_cast<double>(i % period) / static_cast<double>(period);
    const double modulator = std::sin(ratio * phase + feedback * previous);
    previous = modulator;
    sound.Data.push_back(std::sin(phase + Glide(t, indexTime, indexStart, indexEnd) * modulator));
  }
  LoopLastCycles(sound, period, static_cast<std::size_t>(params.Number("loop-cycles", 8)));
  FadeIn(sound.Data, Frames(0.003, sound.Rate));
  Normalise(sound.Data, params.Number("level", 0.85));
  return sound;
}

// A raw pulse of `period` frames per cycle: two cycles, the second looped.
TSynthSound SynthesiseChip(TSynthParams& params) {
  TSynthSound sound;
  sound.RootHz = params.Pitch("root", 523.25);
  const std::size_t period = Period(params, 32);
  sound.Rate = sound.RootHz * static_cast<double>(period);
  const double width = std::clamp(params.Number("width", 0.5), 0.05, 0.95);
  for (std::size_t i = 0; i < 2 * period; ++i)
    sound.Data.push_back(static_cast<double>(i % period) < width * static_cast<double>(period) ? 1.0 : -1.0);
  sound.Loop = TXmLoop::Forward;
  sound.LoopStart = period;
  sound.LoopLength = period;
  RemoveMean(sound.Data, period, 2 * period);
  Normalise(sound.Data, params.Number("level", 0.6));
  return sound;
}

// A plucked string: a burst of filtered noise circulating through a delay of
// `period` + 1/2 frames (the averaging adds the half) that loses a little
// brightness and level on every pass.
TSynthSound SynthesisePluck(TSynthParams& params) {
  TSynthSound sound;
  sound.RootHz = params.Pitch("root", 440);
  const std::size_t period = Period(params, 60);
  sound.Rate = sound.RootHz * (static_cast<double>(period) + 0.5);
  const double damping = params.Number("damping", 0.996);
  const double brightness = params.Number("brightness", 0.6);
  const std::size_t length = Frames(params.Number("length", 1.2), sound.Rate);
  TNoise noise(0x91c);
  TStateVariableFilter excitation;
  std::vector<double> line(period + 1, 0.0);
  for (std::size_t i = 0; i < length; ++i) {
    const double input =
        i < period ? excitation.Process(noise.Next(), 1000 + brightness * 9000, 0, sound.Rate).Low : 0.0;
    const double delayed = line[i % line.size()];
    const double before = line[(i + 1) % line.size()];
    const double value = input + damping * 0.5 * (delayed + before);
    line[i % line.size()] = value;
    sound.Data.push_back(value);
  }
  RemoveDcOffset(sound.Data, 15.0, sound.Rate);
  FadeIn(sound.Data, Frames(0.001, sound.Rate));
  FadeOut(sound.Data, Frames(0.05, sound.Rate));
  Normalise(sound.Data, params.Number("level", 0.85));
  return sound;
}
