// Kick, snare, hi-hat and a noise wash, each from a handful of times and
// frequencies.
#include <algorithm>
#include <cmath>

#include "tools/music/synth_dsp.h"
#include "tools/music/synth_sound.h"

namespace {

// The finish every one-shot drum shares: no offset, a silent tail, a peak.
void FinishOneShot(TSynthSound& sound, double peak) {
  RemoveDcOffset(sound.Data, 12.0, sound.Rate);
  FadeIn(sound.Data, Frames(0.0005, sound.Rate));
  FadeOut(sound.Data, Frames(0.01, sound.Rate));
  Normalise(sound.Data, peak);
}

}  // namespace

// A sine swept down from `start` to `end`, held, then decaying; a short
// noise click on top and a soft saturation for weight.
TSynthSound SynthesiseKick(TSynthParams& params) {
  TSynthSound sound;
  sound.Rate = params.Number("rate", 44100);
  const double start = params.Pitch("start", 160);
  const double end = params.Pitch("end", 48);
  const double sweep = params.Number("sweep", 0.04);
  const double hold = params.Number("hold", 0.02);
  const double decay = params.Number("decay", 0.3);
  const double click = params.Number("click", 0.2);
  const double drive = params.Number("drive", 1.5);
  const std::size_t length = Frames(params.Number("length", 0.5), sound.Rate);
  TNoise noise(0x4b1c);
  TStateVariableFilter clickFilter;
  double phase = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / sound.Rate;
    const double amplitude = t < hold ? 1.0 : std::exp(-(t - hold) / decay);
    double value = std::sin(2 * Pi * phase) * amplitude;
    value += click * clickFilter.Process(noise.Next(), 5000, 0, sound.Rate).Low * std::exp(-t / 0.003);
    sound.Data.push_back(std::tanh(drive * value) / std::tanh(drive));
    phase += (end + (start - end) * std::exp(-t / sweep)) / sound.Rate;
    phase -= std::floor(phase);
  }
  FinishOneShot(sound, params.Number("level", 0.95));
  return sound;
}

// A falling tone for the body and band-passed noise for the snares,
// saturated so that the body carries more against the attack.
TSynthSound SynthesiseSnare(TSynthParams& params) {
  TSynthSound sound;
  sound.Rate = params.Number("rate", 44100);
  const double tone = params.Pitch("tone", 185);
  const double toneDecay = params.Number("tone-decay", 0.07);
  const double noiseDecay = params.Number("noise-decay", 0.14);
  const double noiseLow = params.Number("noise-low", 1500);
  const double noiseHigh = params.Number("noise-high", 9000);
  const double mix = params.Number("noise", 0.65);
  const double drive = params.Number("drive", 1.0);
  const std::size_t length = Frames(params.Number("length", 0.4), sound.Rate);
  TNoise noise(0x5a4e);
  TStateVariableFilter highPass;
  TStateVariableFilter lowPass;
  double phase = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / sound.Rate;
    const double body = std::sin(2 * Pi * phase) * std::exp(-t / toneDecay);
    const double hiss =
        lowPass.Process(highPass.Process(noise.Next(), noiseLow, 0.1, sound.Rate).High, noiseHigh, 0.1, sound.Rate).Low;
    const double attack = std::min(1.0, t / 0.0005);
    const double value = attack * ((1 - mix) * body + mix * 2.5 * hiss * std::exp(-t / noiseDecay));
    sound.Data.push_back(std::tanh(drive * value) / std::tanh(drive));
    phase += tone * (1 + 0.6 * std::exp(-t / 0.01)) / sound.Rate;
    phase -= std::floor(phase);
  }
  FinishOneShot(sound, params.Number("level", 0.9));
  return sound;
}

// Six detuned squares (a metallic cluster) mixed with noise, both high-passed.
TSynthSound SynthesiseHat(TSynthParams& params) {
  TSynthSound sound;
  sound.Rate = params.Number("rate", 44100);
  const double decay = params.Number("decay", 0.05);
  const double cutoff = params.Number("cutoff", 7000);
  const double metal = params.Number("metal", 0.4);
  const double pitch = params.Number("pitch", 1.0);
  const std::size_t length = Frames(params.Number("length", 0.25), sound.Rate);
  const double partials[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
  double phases[6] = {0.1, 0.7, 0.3, 0.9, 0.5, 0.2};
  TNoise noise(0x4a7);
  TStateVariableFilter highPass1;
  TStateVariableFilter highPass2;
  for (std::size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / sound.Rate;
    double cluster = 0;
    for (int p = 0; p < 6; ++p) {
      cluster += phases[p] < 0.5 ? 1.0 : -1.0;
      phases[p] += partials[p] * pitch * 1.7 / sound.Rate;
      phases[p] -= std::floor(phases[p]);
    }
    const double source = metal * cluster / 6 + (1 - metal) * noise.Next();
    const double filtered =
        highPass2.Process(highPass1.Process(source, cutoff, 0.2, sound.Rate).High, cutoff * 1.2, 0.3, sound.Rate).High;
    const double attack = std::min(1.0, t / 0.0003);
    sound.Data.push_back(filtered * attack * std::exp(-t / decay));
  }
  FinishOneShot(sound, params.Number("level", 0.8));
  return sound;
}

// Low-passed white noise with a long loop, for washes and risers that the
// instrument's envelope and the channel filter shape.
TSynthSound SynthesiseNoise(TSynthParams& params) {
  TSynthSound sound;
  sound.Rate = params.Number("rate", 44100);
  const double cutoff = params.Number("cutoff", 10000);
  const std::size_t length = Frames(params.Number("length", 0.7), sound.Rate);
  const std::size_t fade = Frames(0.05, sound.Rate);
  TNoise noise(0x2015e);
  TStateVariableFilter lowPass;
  for (std::size_t i = 0; i < length; ++i)
    sound.Data.push_back(lowPass.Process(noise.Next(), cutoff, 0, sound.Rate).Low);
  sound.Loop = TXmLoop::Forward;
  sound.LoopStart = 2 * fade;
  sound.LoopLength = length - sound.LoopStart;
  RemoveMean(sound.Data, 0, length);
  CrossfadeLoop(sound.Data, sound.LoopStart, length, fade, TCrossfade::EqualPower);
  FadeIn(sound.Data, Frames(0.002, sound.Rate));
  Normalise(sound.Data, params.Number("level", 0.8));
  return sound;
}
