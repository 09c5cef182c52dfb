// The channel mixer on hand-made samples: where pieces end, loops wrap and
// ping-pong loops turn, when a channel ends and what it leaves for click
// removal, ramps that end inside a call, and the read rules a listener
// would hear (one-frame steps, the sinc's level, stereo samples on mono).
#include "player/mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

#include "player/engine.h"

namespace {

constexpr std::int64_t One = OneFrame;
constexpr std::int64_t Half = OneFrame / 2;

class MixerTest : public ::testing::Test {
 protected:
  explicit MixerTest(bool stereo = true)
      : Engine(TTarnXMRenderSettings::For(44100, stereo)),
        Buffer(static_cast<std::size_t>(64 * Engine.Settings.OutputChannels)) {
    Engine.MixPointer = Buffer.data();
    Engine.MixFrames = 64;
  }

  // A mono sample whose frame f holds values[f], or a stereo one from pairs.
  void SetSample(const std::vector<std::int32_t>& values, int channels = 1) {
    Sample.Channels = channels;
    Sample.Length = static_cast<std::int32_t>(values.size()) / channels;
    ASSERT_TRUE(Sample.AllocateData(values.size()));
    std::copy(values.begin(), values.end(), Sample.Data);
  }
  void SetLoop(std::int32_t start, std::int32_t length, bool pingPong = false) {
    Sample.Loop = true;
    Sample.PingPong = pingPong;
    Sample.LoopStart = start;
    Sample.LoopLength = length;
  }
  // A sounding channel at fixed gains (a finished ramp).
  void Start(std::uint64_t increment, std::int32_t left = 2048, std::int32_t right = 2048) {
    Sample.PrepareForInterpolation();
    Channel.Sample = &Sample;
    Channel.Active = true;
    Channel.Increment = increment;
    Channel.VolumeLeft = left;
    Channel.VolumeRight = right;
    Channel.RampLeft = Channel.RampTargetLeft = left * 4096;
    Channel.RampRight = Channel.RampTargetRight = right * 4096;
  }
  // Mixes frames into a cleared buffer and returns its left (or only) values
  // divided by the unit gain.
  std::vector<std::int64_t> Mix(int frames, bool audible = true) {
    std::fill(Buffer.begin(), Buffer.end(), 0);
    MixChannel(Engine, Channel, audible, 0, frames);
    std::vector<std::int64_t> left;
    for (int f = 0; f < frames; ++f) left.push_back(Buffer[f * Engine.Settings.OutputChannels] / 2048);
    return left;
  }
  // The engine's click removal over frames just mixed: the empty song mixes
  // no channel of its own, so only what the channel left is added, from the
  // frame it stopped on.
  void RemoveClicks(int frames) { Engine.MixChunk(0, frames); }

  TTarnXMEngine Engine;
  std::vector<std::int64_t> Buffer;  // the engine mixes here
  TTarnXMSample Sample;
  TTarnXMChannel& Channel = Engine.Module.State.Channels[0];
};

class MonoMixerTest : public MixerTest {
 protected:
  MonoMixerTest() : MixerTest(false) {}
};

std::vector<std::int32_t> Ramp(int frames, std::int32_t from = 100, std::int32_t by = 100) {
  std::vector<std::int32_t> values;
  for (int f = 0; f < frames; ++f) values.push_back(from + by * f);
  return values;
}

TEST_F(MixerTest, StepZeroStopsTheChannelWithoutClickRemoval) {
  SetSample(Ramp(8));
  Start(0);
  Channel.LastLeft = 5000;
  EXPECT_EQ(Mix(4), (std::vector<std::int64_t>{0, 0, 0, 0}));
  EXPECT_FALSE(Channel.Active);
  RemoveClicks(4);
  EXPECT_EQ(Buffer, std::vector<std::int64_t>(Buffer.size(), 0));
  EXPECT_EQ(Engine.Module.State.DeclickLeft, 0);
}

TEST_F(MixerTest, ANonLoopingSampleEndsAfterItsLastFrameAndLeavesItForClickRemoval) {
  SetSample(Ramp(10));
  Engine.Settings.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  Start(Half, 2048, 1024);
  const std::vector<std::int64_t> out = Mix(24);
  // Positions 0, 0.5, ... 9.5 are below Length; 10.0 is not.
  for (int f = 0; f < 20; ++f) EXPECT_EQ(out[f], 100 + 100 * (f / 2)) << f;
  for (int f = 20; f < 24; ++f) EXPECT_EQ(out[f], 0) << f;
  EXPECT_FALSE(Channel.Active);
  EXPECT_EQ(Channel.LastLeft, 0);
  EXPECT_EQ(Channel.LastRight, 0);
  RemoveClicks(24);
  EXPECT_EQ(Buffer[2 * 19], 1000 * 2048);
  EXPECT_EQ(Buffer[2 * 20], 1000 * 2048);
  EXPECT_EQ(Buffer[2 * 20 + 1], 1000 * 1024);
}

TEST_F(MixerTest, AForwardLoopContinuesAtTheLoopStartPlusTheOvershoot) {
  SetSample(Ramp(16));
  SetLoop(4, 8);
  Start(Half + Half / 2);
  Channel.Position = 12 * One + One / 4;
  EXPECT_GT(SamplesToBoundary(Channel, 100), 0);
  EXPECT_EQ(Channel.Position, 4 * One + One / 4);
  EXPECT_FALSE(Channel.Backwards);

  // Through the mixer: from 11, steps of 0.75 pass the end at 12.5 and go on
  // at 4.5, 5.25, ...
  Engine.Settings.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  Channel.Position = 11 * One;
  EXPECT_EQ(Mix(5), (std::vector<std::int64_t>{1200, 1200, 500, 600, 700}));
  EXPECT_TRUE(Channel.Active);
}

TEST_F(MixerTest, APingPongLoopTurnsAtItsEnds) {
  SetSample(Ramp(16));
  SetLoop(4, 8, true);
  Start(One / 3);
  // Past the end by d: backwards from the end minus d.
  Channel.Position = 12 * One + One / 4;
  SamplesToBoundary(Channel, 100);
  EXPECT_EQ(Channel.Position, 12 * One - One / 4);
  EXPECT_TRUE(Channel.Backwards);
  // Exactly on the end: backwards from the sample's last frame.
  Channel.Backwards = false;
  Channel.Position = 12 * One;
  SamplesToBoundary(Channel, 100);
  EXPECT_EQ(Channel.Position, 15 * One);
  EXPECT_TRUE(Channel.Backwards);
  // Past the start backwards by d: forwards from the start plus d.
  Channel.Position = 4 * One - One / 4;
  SamplesToBoundary(Channel, 100);
  EXPECT_EQ(Channel.Position, 4 * One + One / 4);
  EXPECT_FALSE(Channel.Backwards);
  // A turn that would land on the loop's middle (8) or beyond restarts it.
  Channel.Backwards = true;
  Channel.Position = 0;
  SamplesToBoundary(Channel, 100);
  EXPECT_EQ(Channel.Position, 4 * One);
  EXPECT_FALSE(Channel.Backwards);
  Channel.Backwards = true;
  Channel.Position = One + 1;
  SamplesToBoundary(Channel, 100);
  EXPECT_EQ(Channel.Position, 7 * One - 1);
}

TEST_F(MixerTest, PingPongPlaysBackAndForthThroughTheMixer) {
  SetSample(Ramp(8));
  SetLoop(2, 4, true);
  Engine.Settings.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  Start(One + 1);  // just over one frame, so that interpolation 0 is chosen by the setting
  // Frames 0..5 forwards; past the end at 6 + d it turns to 6 - d (frame 5),
  // runs down past the start at 2 - d and turns up again at 2 + d.
  EXPECT_EQ(Mix(12), (std::vector<std::int64_t>{100, 200, 300, 400, 500, 600, 600, 500, 400, 300, 300, 400}));
}

TEST_F(MixerTest, PiecesStopShortOfTheLoopEndAndAtTheCap) {
  SetSample(Ramp(100));
  SetLoop(10, 50);
  Start(3 * One);
  Channel.Position = 40 * One;
  // 40, 43, ... 58 lie below the end at 60: seven frames.
  EXPECT_EQ(SamplesToBoundary(Channel, 100), 7);
  Channel.Position = 0;
  // At most 16384 / (3 + 1) frames however far the boundary is.
  Sample.Length = 100000;  // not read: only the boundary arithmetic runs
  SetLoop(0, 100000);
  EXPECT_EQ(SamplesToBoundary(Channel, 10000), 4096);
  EXPECT_EQ(SamplesToBoundary(Channel, 10), 10);
}

TEST_F(MixerTest, ALoopPastTheDataEndsWithTheData) {
  SetSample(Ramp(16));
  SetLoop(8, 100);
  Start(One);
  Channel.Position = 10 * One;
  // The loop claims to run to 108; pieces stop at the data's end all the same.
  EXPECT_EQ(SamplesToBoundary(Channel, 100), 6);
  Channel.Position = 16 * One;
  SamplesToBoundary(Channel, 100);
  EXPECT_EQ(Channel.Position, 8 * One);
}

TEST_F(MixerTest, TurnsAtTheLargestLengthsDoNotOverflow) {
  SetSample(Ramp(4));
  Start(One);
  Sample.Length = INT32_MAX;  // not read: only the boundary arithmetic runs
  // 2 x loop end is beyond 64 bits here.
  SetLoop(0, INT32_MAX - 1, true);
  const std::int64_t loopEnd = std::int64_t{INT32_MAX - 1} * One;
  Channel.Position = loopEnd + Half;
  EXPECT_EQ(SamplesToBoundary(Channel, 1), 1);
  EXPECT_EQ(Channel.Position, loopEnd - Half);
  EXPECT_TRUE(Channel.Backwards);
  // So is loop start + loop end, the turn's midpoint rule.
  SetLoop(INT32_MAX - 100, 99, true);
  const std::int64_t loopStart = std::int64_t{INT32_MAX - 100} * One;
  Channel.Position = loopStart - Half;
  EXPECT_EQ(SamplesToBoundary(Channel, 1), 1);
  EXPECT_EQ(Channel.Position, loopStart + Half);
  EXPECT_FALSE(Channel.Backwards);
}

TEST_F(MixerTest, AOneFrameStepPlaysTheValuesUnchangedWhateverTheInterpolation) {
  SetSample({0, 30000, -30000, 30000, -30000, 0, 0, 0});
  for (std::uint8_t interpolation = 0; interpolation <= 3; ++interpolation) {
    Engine.Settings.Interpolation = interpolation;
    Start(One);
    Channel.Position = 0;
    EXPECT_EQ(Mix(5), (std::vector<std::int64_t>{0, 30000, -30000, 30000, -30000})) << int{interpolation};
  }
}

TEST_F(MixerTest, TheSincPlaysAtTheLevelOfTheOtherInterpolations) {
  SetSample(std::vector<std::int32_t>(64, 20000));
  for (std::uint8_t interpolation = 1; interpolation <= 3; ++interpolation) {
    Engine.Settings.Interpolation = interpolation;
    Start(One / 3);
    Channel.Position = 8 * One;
    for (std::int64_t value : Mix(16))
      EXPECT_NEAR(static_cast<double>(value), 20000, 20000 / 300) << int{interpolation};
  }
}

TEST_F(MixerTest, LinearInterpolationBetweenTheExtremesKeepsItsSign) {
  SetSample({-32768, 32767, -32768, 32767});
  Engine.Settings.Interpolation = TTarnXMRenderSettings::LinearInterpolation;
  Start(Half);
  // -32768 + 65535 x 0.5 truncated toward zero is -1; a 32-bit product
  // would wrap here.
  EXPECT_EQ(Mix(4), (std::vector<std::int64_t>{-32768, -1, 32767, 0}));
}

TEST_F(MixerTest, ARampEndingInsideACallSplitsItAndTheRestUsesTheTargets) {
  SetSample(std::vector<std::int32_t>(64, 1000));
  Engine.Settings.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  Start(Half);
  Channel.RampLeft = 0;
  Channel.RampRight = 0;
  Channel.RampTargetLeft = Channel.RampTargetRight = 2048 * 4096;
  Channel.RampStepLeft = Channel.RampStepRight = 2048 * 4096 / 8;
  Channel.RampSamples = 8;
  std::fill(Buffer.begin(), Buffer.end(), 0);
  MixChannel(Engine, Channel, true, 0, 12);
  for (int f = 0; f < 12; ++f) {
    const std::int64_t gain = f < 8 ? 256 * (f + 1) : 2048;
    EXPECT_EQ(Buffer[2 * f], 1000 * gain) << f;
    EXPECT_EQ(Buffer[2 * f + 1], 1000 * gain) << f;
  }
  EXPECT_EQ(Channel.RampSamples, 0);
  EXPECT_EQ(Channel.RampStepLeft, 0);
  EXPECT_EQ(Channel.RampLeft, 2048 * 4096);
  EXPECT_EQ(Channel.LastLeft, 1000 * 2048);
}

TEST_F(MixerTest, ARampToSilenceWithTheFadeOutDoneStopsTheChannelInsideTheCall) {
  SetSample(std::vector<std::int32_t>(64, 1000));
  Engine.Settings.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  Start(Half);
  Channel.RampStepLeft = Channel.RampStepRight = -2048 * 4096 / 4;
  Channel.RampTargetLeft = Channel.RampTargetRight = 0;
  Channel.RampSamples = 4;
  Channel.FadeOutVolume = 0;
  EXPECT_EQ(Mix(8), (std::vector<std::int64_t>{750, 500, 250, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(Channel.Active);
  EXPECT_EQ(Channel.Position, 2 * One);

  // With the fade-out still running the channel goes on, silent.
  Start(Half);
  Channel.RampStepLeft = Channel.RampStepRight = -2048 * 4096 / 4;
  Channel.RampTargetLeft = Channel.RampTargetRight = 0;
  Channel.RampSamples = 4;
  Channel.FadeOutVolume = 100;
  Channel.Position = 0;
  Mix(8);
  EXPECT_TRUE(Channel.Active);
  EXPECT_EQ(Channel.Position, 4 * One);
}

TEST_F(MixerTest, AVolumeEnvelopeEndedAtZeroAlsoStopsTheChannel) {
  struct TCase {
    bool Sustain;  // at point 2 of 4
    std::int32_t Point;
    bool Active;
  };
  // Before the last point the envelope may rise again from 0, and at the
  // sustain point the key may still be released into a rise.
  const TCase cases[] = {{false, 0, true}, {true, 2, true}, {false, 3, false}, {true, 3, false}};
  SetSample(std::vector<std::int32_t>(64, 1000));
  TTarnXMEnvelope envelope;
  envelope.Enabled = true;
  envelope.NumPoints = 4;
  envelope.SustainPoint = 2;
  Channel.VolumeEnvelope.Envelope = &envelope;
  Channel.EnvelopeVolume = 0;
  for (const TCase& c : cases) {
    envelope.SustainEnabled = c.Sustain;
    Start(Half);
    Channel.RampStepLeft = Channel.RampStepRight = -2048 * 4096 / 4;
    Channel.RampTargetLeft = Channel.RampTargetRight = 0;
    Channel.RampSamples = 4;
    Channel.VolumeEnvelope.PointIndex = c.Point;
    Mix(8);
    EXPECT_EQ(Channel.Active, c.Active) << c.Sustain << " " << c.Point;
  }
}

TEST_F(MixerTest, ASilentChannelMovesExactlyAsAnAudibleOne) {
  SetSample(Ramp(64));
  SetLoop(8, 40, true);
  Start(One + One / 7);
  Mix(64);
  const std::int64_t audiblePosition = Channel.Position;
  const bool audibleBackwards = Channel.Backwards;

  Start(One + One / 7, 0, 0);
  Channel.Position = 0;
  Channel.Backwards = false;
  Channel.LastLeft = 77;
  for (std::int64_t value : Mix(64)) EXPECT_EQ(value, 0);
  EXPECT_EQ(Channel.Position, audiblePosition);
  EXPECT_EQ(Channel.Backwards, audibleBackwards);
  EXPECT_EQ(Channel.LastLeft, 0);
}

// How a muted channel is mixed: it writes nothing, not even for click
// removal, and moves on exactly as if it were heard.
TEST_F(MixerTest, AChannelThatIsNotAudibleWritesNothingAndMovesAsAnAudibleOne) {
  struct TCase {
    const char* Name;
    bool Loop, PingPong;
    std::int32_t RampFrames;
  };
  const TCase cases[] = {{"ping-pong loop", true, true, 0},
                         {"forward loop in a ramp", true, false, 20},
                         {"sample that ends", false, false, 0}};
  for (const TCase& test : cases) {
    SetSample(Ramp(48));
    SetLoop(8, 32, test.PingPong);
    Sample.Loop = test.Loop;
    const auto mix = [&](bool audible) {
      Start(One + One / 7);
      Channel.Position = 0;
      Channel.Backwards = false;
      if (test.RampFrames > 0) {
        Channel.RampLeft = Channel.RampRight = 0;
        Channel.RampStepLeft = Channel.RampStepRight = 2048 * 4096 / test.RampFrames;
        Channel.RampSamples = test.RampFrames;
      }
      Engine.Module.State.DeclickLeft = Engine.Module.State.DeclickRight = 0;
      Mix(64, audible);
      RemoveClicks(64);
      return std::tuple(Channel.Position, Channel.Backwards, Channel.Active, Channel.RampSamples);
    };
    const auto audible = mix(true);
    EXPECT_NE(std::count(Buffer.begin(), Buffer.end(), 0), std::ssize(Buffer)) << test.Name;
    EXPECT_EQ(mix(false), audible) << test.Name;
    EXPECT_EQ(std::count(Buffer.begin(), Buffer.end(), 0), std::ssize(Buffer)) << test.Name;
    EXPECT_EQ(Engine.Module.State.DeclickLeft, 0) << test.Name;
    EXPECT_EQ(Engine.Module.State.DeclickRight, 0) << test.Name;
  }
}

TEST_F(MixerTest, EqualAndDifferentGainsReachTheirSides) {
  SetSample(std::vector<std::int32_t>(64, 1000));
  Engine.Settings.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  Start(Half, 2048, 512);
  Mix(4);
  EXPECT_EQ(Buffer[0], 1000 * 2048);
  EXPECT_EQ(Buffer[1], 1000 * 512);
  EXPECT_EQ(Channel.LastRight, 1000 * 512);
  // A stereo sample keeps its sides apart.
  SetSample({1000, -1000, 1000, -1000, 1000, -1000, 1000, -1000}, 2);
  Start(Half);
  Mix(2);
  EXPECT_EQ(Buffer[0], 1000 * 2048);
  EXPECT_EQ(Buffer[1], -1000 * 2048);
}

TEST_F(MonoMixerTest, AStereoSampleOnMonoOutputIsTheAverageRoundedTowardZero) {
  SetSample({3, -4, -3, 4, 1001, 1000, 0, 0}, 2);
  Engine.Settings.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  Start(One);
  // (3 - 4) / 2 and (-3 + 4) / 2 are both 0; a floor would make the first -1.
  EXPECT_EQ(Mix(3), (std::vector<std::int64_t>{0, 0, 1000}));
}

TEST_F(MixerTest, MixingAddsToWhatIsInTheBufferAtTheOffset) {
  SetSample(std::vector<std::int32_t>(64, 1000));
  Engine.Settings.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  Start(Half);
  std::fill(Buffer.begin(), Buffer.end(), 7);
  MixChannel(Engine, Channel, true, 10, 2);
  EXPECT_EQ(Buffer[19], 7);
  EXPECT_EQ(Buffer[20], 7 + 1000 * 2048);
  EXPECT_EQ(Buffer[23], 7 + 1000 * 2048);
  EXPECT_EQ(Buffer[24], 7);
}

}  // namespace
