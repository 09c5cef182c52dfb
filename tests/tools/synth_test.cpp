// The synthesised instruments are clean samples: no offset, silent starts,
// loops that join without a jump, and the pitch they claim.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/music/song_builder.h"
#include "tools/music/synth_sound.h"

namespace {

const char* const Synths[] = {"kick", "snare", "hat", "noise", "bass", "pad", "lead", "chip", "pluck"};

TSynthSound Make(const std::string& type) {
  TSynthParams params;
  TSynthSound sound;
  EXPECT_TRUE(Synthesise(type, params, sound)) << type;
  return sound;
}

double Mean(const TSignal& signal, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += signal[i];
  return sum / static_cast<double>(to - from);
}

double LargestStep(const TSignal& signal, std::size_t from, std::size_t to) {
  double largest = 0;
  for (std::size_t i = from + 1; i < to; ++i) largest = std::max(largest, std::abs(signal[i] - signal[i - 1]));
  return largest;
}

// The pitch the engine plays a note at, from the sample's relative note and
// fine tune, in the linear frequency table.
double PlayedRate(const TXmSample& sample, int note) {
  const int period = 7680 - 64 * (note + sample.RelativeNote - 1) - sample.FineTune / 2;
  return 8363.0 * std::pow(2.0, (4608.0 - period) / 768.0);
}

}  // namespace

TEST(Synth, EverySoundIsInRangeWithoutOffsetAndStartsSilent) {
  for (const char* type : Synths) {
    const TSynthSound sound = Make(type);
    ASSERT_GE(sound.Data.size(), 64u) << type;
    double peak = 0;
    for (const double value : sound.Data) peak = std::max(peak, std::abs(value));
    EXPECT_LE(peak, 1.0) << type;
    EXPECT_GT(peak, 0.5) << type;
    // The part that plays on is the loop, or the whole of a one-shot.
    const bool loops = sound.Loop != TXmLoop::None;
    const std::size_t from = loops ? sound.LoopStart : 0;
    const std::size_t to = loops ? sound.LoopStart + sound.LoopLength : sound.Data.size();
    EXPECT_LT(std::abs(Mean(sound.Data, from, to)), 0.005 * peak) << type;
    // The chip starts on its square's edge, as a chip does; the rest fade in.
    if (std::string(type) != "chip") {
      EXPECT_LT(std::abs(sound.Data.front()), 0.01) << type;
    }
    if (!loops) {
      EXPECT_LT(std::abs(sound.Data.back()), 0.01) << type;
    }
  }
}

TEST(Synth, ForwardLoopsJoinNoHarderThanTheirOwnSteps) {
  for (const char* type : {"noise", "bass", "lead", "chip"}) {
    const TSynthSound sound = Make(type);
    ASSERT_EQ(sound.Loop, TXmLoop::Forward) << type;
    const std::size_t start = sound.LoopStart;
    const std::size_t end = start + sound.LoopLength;
    ASSERT_LE(end, sound.Data.size()) << type;
    EXPECT_GT(start, 0u) << type;  // the loader's guard frames copy loops that start later
    const double join = std::abs(sound.Data[start] - sound.Data[end - 1]);
    EXPECT_LE(join, LargestStep(sound.Data, start, end)) << type;
  }
}

TEST(Synth, ThePadTurnsWhereItsWaveformIsFlat) {
  const TSynthSound pad = Make("pad");
  ASSERT_EQ(pad.Loop, TXmLoop::PingPong);
  const std::size_t start = pad.LoopStart;
  const std::size_t last = pad.LoopStart + pad.LoopLength - 1;
  ASSERT_LT(last + 1, pad.Data.size());
  const double typical = LargestStep(pad.Data, start, last);
  EXPECT_LT(std::abs(pad.Data[start + 1] - pad.Data[start - 1]), 0.1 * typical);
  EXPECT_LT(std::abs(pad.Data[last + 1] - pad.Data[last - 1]), 0.1 * typical);
  EXPECT_GT(pad.LoopLength, pad.Rate);  // a second and more: the detuned voices drift through it
}

TEST(Synth, LoopsOfPitchedVoicesSpanWholeCycles) {
  for (const char* type : {"bass", "lead", "chip"}) {
    const TSynthSound sound = Make(type);
    const double cycle = sound.Rate / sound.RootHz;
    EXPECT_NEAR(cycle, std::round(cycle), 1e-6) << type;
    EXPECT_EQ(sound.LoopLength % static_cast<std::size_t>(std::round(cycle)), 0u) << type;
  }
}

TEST(Synth, SoundsAreTheSameOnEveryRun) {
  for (const char* type : Synths) EXPECT_EQ(Make(type).Data, Make(type).Data) << type;
}

TEST(Synth, TuningPlaysCFourAtTheAskedRate) {
  for (const double rate : {8363.0, 44100.0, 22050.0, 16744.0, 4000.0, 37000.0 * 261.63 / 220.0}) {
    TXmSample sample;
    TuneSample(rate, sample);
    EXPECT_NEAR(PlayedRate(sample, 49) / rate, 1.0, 0.0005) << rate;
    EXPECT_NEAR(PlayedRate(sample, 61) / rate, 2.0, 0.001) << rate;
  }
}
