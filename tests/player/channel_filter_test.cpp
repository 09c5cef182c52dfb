// MIDI macros and the resonant filter: which macro texts do what, the smooth
// macro's steps, the cutoff's frequency, and the coefficients heard through
// the mixer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "player/engine.h"
#include "player/mixer.h"
#include "tests/player/test_song.h"

namespace {

class ChannelFilterTest : public ::testing::Test {
 protected:
  ChannelFilterTest() { Engine.Module.SetSong(Song); }

  std::shared_ptr<TTarnXMSong> Song = std::make_shared<TTarnXMSong>();
  TTarnXMEngine Engine{TTarnXMRenderSettings::For(44100, true)};
  TTarnXMPlayback& State = Engine.Module.State;
  TTarnXMChannel& Channel = State.Channels[0];
  TTarnXMTickContext Context{*Song, State, Engine.Settings};

  // A sine through the filter, mixed at unit gain: the peak of the second half.
  double FilteredPeak(TTarnXMSample& sample, double frequency, int resonance, int mode) {
    TTarnXMChannel& channel = Channel;
    channel.Reset();
    channel.FilterCutoff = 64;
    channel.FilterResonance = resonance;
    channel.FilterMode = mode;
    channel.FilterSetup(Context, true);
    const int frames = 4096;
    sample.Length = frames;
    sample.AllocateData(frames);
    for (int f = 0; f < frames; ++f)
      sample.Data[f] = static_cast<std::int32_t>(8000 * std::sin(2 * std::numbers::pi * frequency * f / 44100));
    sample.PrepareForInterpolation();
    channel.Sample = &sample;
    channel.Active = true;
    channel.Increment = static_cast<std::uint64_t>(OneFrame);
    channel.VolumeLeft = channel.VolumeRight = 2048;
    channel.RampLeft = channel.RampRight = 2048 * 4096;
    channel.Position = 0;
    std::vector<std::int64_t> buffer(2 * 1024);
    Engine.MixPointer = buffer.data();
    Engine.MixFrames = 1024;
    double peak = 0;
    for (int chunk = 0; chunk < 4; ++chunk) {
      std::fill(buffer.begin(), buffer.end(), 0);
      MixChannel(Engine, channel, true, 0, 1024);
      for (int f = 0; chunk >= 2 && f < 1024; ++f)
        peak = std::max(peak, std::abs(static_cast<double>(buffer[2 * f]) / 2048.0));
    }
    return peak;
  }
};

TEST_F(ChannelFilterTest, TheDefaultMacrosSetCutoffAndResonance) {
  Channel.RunMacro(Context, 35, 0x40);
  EXPECT_EQ(Channel.FilterCutoff, 64);
  EXPECT_TRUE(Channel.FilterActive);
  Channel.RunMacro(Context, 35, 0x82);
  EXPECT_EQ(Channel.FilterResonance, 16);
  Channel.RunMacro(Context, 35, 0x8F);
  EXPECT_EQ(Channel.FilterResonance, 0x78);
  // Fixed macros from 16 on are empty.
  Channel.RunMacro(Context, 35, 0x90);
  EXPECT_EQ(Channel.FilterResonance, 0x78);
}

TEST_F(ChannelFilterTest, TheActiveMacroChoosesTheParameteredText) {
  Song->SetMacro(ParameteredMacros + 3, "F0F001z");
  Channel.ActiveMacro = 3;
  Channel.RunMacro(Context, 35, 0x30);
  EXPECT_EQ(Channel.FilterResonance, 0x30);
  EXPECT_EQ(Channel.FilterCutoff, 127);
}

TEST_F(ChannelFilterTest, ASmoothMacroStepsTheCutoffOverTheRow) {
  State.Speed = 4;
  std::vector<std::int32_t> cutoffs;
  for (Channel.Tick = 0; Channel.Tick < 4; ++Channel.Tick) {
    Channel.RunMacro(Context, 37, 0);
    cutoffs.push_back(Channel.FilterCutoff);
  }
  EXPECT_EQ(cutoffs, (std::vector<std::int32_t>{95, 64, 32, 0}));
}

TEST_F(ChannelFilterTest, ASmoothMacroAtSpeedZeroJumps) {
  State.Speed = 0;
  Channel.Tick = 0;
  Channel.RunMacro(Context, 37, 0x20);
  EXPECT_EQ(Channel.FilterCutoff, 0x20);
}

TEST_F(ChannelFilterTest, TextRules) {
  const auto cutoffAfter = [&](const char* text) {
    Channel.Reset();
    Song->SetMacro(FixedMacros + 20, text);
    Channel.RunMacro(Context, 35, 128 + 20);
    return Channel.FilterCutoff;
  };
  EXPECT_EQ(cutoffAfter("f0f00020"), 0x20);  // the prefix in either case
  EXPECT_EQ(cutoffAfter("F0F0002a"), 0x20);  // lower-case hex is no digit: 0
  EXPECT_EQ(cutoffAfter("F0F000a2"), 0x02);
  EXPECT_EQ(cutoffAfter("F0F00"), 0);        // value digits missing: 0
  EXPECT_EQ(cutoffAfter("F0F0a020"), 127);   // no command without its first digit
  EXPECT_EQ(cutoffAfter("F0F00x20"), 0x20);  // a missing second digit counts as 0
  EXPECT_EQ(cutoffAfter("F0F10020"), 127);
  EXPECT_EQ(cutoffAfter("F0F00090"), 127);  // 144 is out of range: kept
  EXPECT_TRUE(Channel.FilterActive);        // but the filter is still set up
  EXPECT_EQ(cutoffAfter("F0F00320"), 127);
  EXPECT_FALSE(Channel.FilterActive);
}

TEST_F(ChannelFilterTest, TheModeCommand) {
  Song->SetMacro(FixedMacros + 20, "F0F00210");
  Channel.RunMacro(Context, 35, 128 + 20);
  EXPECT_EQ(Channel.FilterMode, 1);
  Song->SetMacro(FixedMacros + 20, "F0F00220");
  Channel.RunMacro(Context, 35, 128 + 20);
  EXPECT_EQ(Channel.FilterMode, 1);
  Song->SetMacro(FixedMacros + 20, "F0F0020F");
  Channel.RunMacro(Context, 35, 128 + 20);
  EXPECT_EQ(Channel.FilterMode, 0);
}

TEST_F(ChannelFilterTest, CutoffToFrequency) {
  EXPECT_EQ(Channel.CutoffToFrequency(Context, 127, 256), 5124);
  Song->ExtendedFilterRange = true;
  EXPECT_EQ(Channel.CutoffToFrequency(Context, 127, 256), 10671);
  EXPECT_EQ(Channel.CutoffToFrequency(Context, 500, 256), 10671);
  // 110 x 2^0.25 is below the floor of 120 Hz.
  EXPECT_EQ(Channel.CutoffToFrequency(Context, 0, 256), 131);
  EXPECT_EQ(Channel.CutoffToFrequency(Context, -5, 256), 131);
  Song->ExtendedFilterRange = false;
  EXPECT_EQ(Channel.CutoffToFrequency(Context, 0, 256), 131);
  // Never above half the output rate.
  Engine.Settings.SampleRate = 8000;
  EXPECT_EQ(Channel.CutoffToFrequency(Context, 127, 256), 4000);
}

TEST_F(ChannelFilterTest, FilterSetupSkipsARateWithNoFrequency) {
  Engine.Settings.SampleRate = 1;
  Channel.FilterSetup(Context, true);
  EXPECT_FALSE(Channel.FilterActive);
}

TEST_F(ChannelFilterTest, TheHistoryIsClearedOnlyWhenTheFilterWasOff) {
  Channel.FilterHistory = {1, 2, 3, 4};
  Channel.RunMacro(Context, 35, 0x40);
  EXPECT_EQ(Channel.FilterHistory, (std::array<std::int32_t, 4>{}));
  Channel.FilterHistory = {1, 2, 3, 4};
  Channel.RunMacro(Context, 35, 0x30);
  EXPECT_EQ(Channel.FilterHistory, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
}

TEST_F(ChannelFilterTest, ASilentChannelRampingOutKeepsItsCoefficientsThroughABigCutoffJump) {
  Channel.RunMacro(Context, 35, 0x40);
  const std::int32_t a0 = Channel.FilterA0;
  Channel.Volume = 0;
  Channel.RampLeft = Channel.RampRight = 4096;
  Channel.RunMacro(Context, 35, 0x10);
  EXPECT_EQ(Channel.FilterCutoff, 0x10);
  EXPECT_EQ(Channel.FilterA0, a0);
  Channel.RunMacro(Context, 35, 0x18);  // a small change still applies
  EXPECT_NE(Channel.FilterA0, a0);
}

TEST_F(ChannelFilterTest, TheFilterPassesStopsAndResonatesWhereItShould) {
  TTarnXMSample sample;
  const double cutoff = Channel.CutoffToFrequency(Context, 64, 256);
  // Without resonance the two poles are damped: three octaves below the
  // cutoff a low-pass passes, three above it stops; a high-pass the reverse.
  EXPECT_NEAR(FilteredPeak(sample, cutoff / 8, 0, 0), 8000, 400);
  EXPECT_LT(FilteredPeak(sample, cutoff * 8, 0, 0), 400);
  EXPECT_LT(FilteredPeak(sample, cutoff / 8, 0, 1), 8000 / 3);
  EXPECT_NEAR(FilteredPeak(sample, cutoff * 8, 0, 1), 8000, 400);
  // Full resonance lifts the cutoff frequency well above the input level.
  EXPECT_GT(FilteredPeak(sample, cutoff, 127, 0), 3 * 8000);
}

TEST(FilterEffects, MacroAndResonanceEffectsReachTheFilterOnEveryTick) {
  TTestSong song(1, 4);
  song.Data().InitialSpeed = 4;
  song.Cell(0, 0, 0, Effect(35, 0x40));
  song.Cell(0, 1, 0, Effect(37, 0));
  song.Cell(0, 2, 0, Effect(26, 0x30));
  song.Start();
  song.Tick();
  EXPECT_EQ(song.Channel().FilterCutoff, 64);
  EXPECT_TRUE(song.Channel().FilterActive);
  song.Tick(3);
  EXPECT_EQ(song.Trace(4, FilterCutoff), (std::vector<std::int32_t>{48, 32, 16, 0}));
  const std::int32_t feedback = song.Channel().FilterB0;
  song.Tick();
  EXPECT_EQ(song.Channel().FilterResonance, 0x30);
  EXPECT_GT(song.Channel().FilterB0, feedback);
}

}  // namespace
