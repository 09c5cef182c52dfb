// Envelopes, fade-out, auto-vibrato and what Update hands the mixer: the
// handler on envelopes built in code, and channels driven through a song.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "player/envelope.h"
#include "player/envelope_handler.h"
#include "tests/player/test_song.h"

namespace {

TTarnXMEnvelope Envelope(std::initializer_list<std::pair<int, int>> points) {
  TTarnXMEnvelope envelope;
  envelope.Enabled = true;
  for (const auto& [position, value] : points) envelope.Points[envelope.NumPoints++] = {position, value};
  return envelope;
}

std::vector<std::int32_t> Steps(TTarnXMEnvelopeHandler& handler, int count) {
  std::vector<std::int32_t> values;
  for (int k = 0; k < count; ++k) values.push_back(handler.Step());
  return values;
}

TTarnXMEnvelopeHandler Handler(const TTarnXMEnvelope& envelope) {
  TTarnXMEnvelopeHandler handler;
  handler.Envelope = &envelope;
  handler.SetPosition(0);
  return handler;
}

TEST(EnvelopeHandler, FallsLinearlyThenHoldsItsLastValue) {
  const TTarnXMEnvelope envelope = Envelope({{0, 64}, {10, 0}});
  TTarnXMEnvelopeHandler handler = Handler(envelope);
  EXPECT_EQ(Steps(handler, 13), (std::vector<std::int32_t>{64, 58, 52, 45, 39, 32, 26, 20, 13, 7, 0, 0, 0}));
}

TEST(EnvelopeHandler, HoldsAtTheSustainPointUntilTheKeyIsReleased) {
  TTarnXMEnvelope envelope = Envelope({{0, 0}, {4, 64}, {8, 32}});
  envelope.SustainEnabled = true;
  envelope.SustainPoint = 1;
  TTarnXMEnvelopeHandler handler = Handler(envelope);
  EXPECT_EQ(Steps(handler, 8), (std::vector<std::int32_t>{0, 16, 32, 48, 64, 64, 64, 64}));
  handler.KeyOn = false;
  EXPECT_EQ(Steps(handler, 7), (std::vector<std::int32_t>{64, 56, 48, 40, 32, 32, 32}));
}

TEST(EnvelopeHandler, LoopsWithoutReturningTheLoopEndsValue) {
  TTarnXMEnvelope envelope = Envelope({{0, 0}, {4, 64}});
  envelope.LoopEnabled = true;
  envelope.LoopStart = 0;
  envelope.LoopEnd = 1;
  TTarnXMEnvelopeHandler handler = Handler(envelope);
  EXPECT_EQ(Steps(handler, 10), (std::vector<std::int32_t>{0, 16, 32, 48, 0, 16, 32, 48, 0, 16}));
}

TEST(EnvelopeHandler, AJumpOntoTheLoopEndStaysWithinTheSegmentAndLoopsOn) {
  TTarnXMEnvelope envelope = Envelope({{0, 0}, {4, 64}, {8, 32}});
  envelope.LoopEnabled = true;
  envelope.LoopStart = 0;
  envelope.LoopEnd = 1;
  TTarnXMEnvelopeHandler handler = Handler(envelope);
  // Position 6 lies on the loop end's segment, which sends the handler to the
  // loop start with the position left past that segment's end.
  handler.SetPosition(6);
  EXPECT_EQ(handler.PointIndex, 0);
  EXPECT_EQ(Steps(handler, 5), (std::vector<std::int32_t>{64, 0, 16, 32, 48}));
}

TEST(EnvelopeHandler, AZeroLengthSegmentGivesItsFirstValue) {
  const TTarnXMEnvelope envelope = Envelope({{0, 10}, {0, 50}, {4, 50}});
  TTarnXMEnvelopeHandler handler = Handler(envelope);
  handler.PointIndex = 0;
  EXPECT_EQ(Steps(handler, 3), (std::vector<std::int32_t>{10, 50, 50}));
}

TEST(EnvelopeHandler, PointsOutOfOrderMoveOnInsteadOfExtrapolating) {
  const TTarnXMEnvelope envelope = Envelope({{10, 0}, {5, 64}, {20, 64}});
  TTarnXMEnvelopeHandler handler = Handler(envelope);
  handler.PointIndex = 0;
  handler.Position = 12;
  EXPECT_EQ(Steps(handler, 3), (std::vector<std::int32_t>{0, 64, 64}));
}

// A channel playing note 49 of instrument 1 from the first tick, one row per
// tick.
class EnvelopeChannel : public ::testing::Test {
 protected:
  EnvelopeChannel() : Song(1, 64) {
    Song.Data().InitialSpeed = 1;
    Song.Instrument(1);
    Song.Cell(0, 0, 0, Note(49, 1));
  }

  TTarnXMInstrument& Instrument() { return *Song.Data().Instruments[1]; }

  TTestSong Song;
};

TEST_F(EnvelopeChannel, FullLevelGivesHalfScaleAndTheRateOfTheNote) {
  Song.Start();
  Song.Tick();
  const TTarnXMChannel& channel = Song.Channel();
  EXPECT_TRUE(channel.Active);
  EXPECT_EQ(channel.FinalVolume, 2048);
  EXPECT_EQ(channel.FinalPanning, 128);
  EXPECT_EQ(channel.VolumeLeft, 2048 * 127 / 255);
  EXPECT_EQ(channel.VolumeRight, 1024);
  EXPECT_EQ(channel.RampTargetLeft, channel.VolumeLeft * 4096);
  EXPECT_EQ(channel.RampStepLeft, channel.VolumeLeft * 4096 / 128);
  EXPECT_EQ(channel.RampSamples, 128);
  EXPECT_EQ(channel.Frequency, 8363);
  EXPECT_EQ(channel.Increment, (std::uint64_t{8363} << 32) / 44100);
}

TEST_F(EnvelopeChannel, RampsNoLongerThanATickAndAtOnceWithoutFrames) {
  Song.Start();
  Song.State().SamplesPerTick = 50;
  Song.Tick();
  EXPECT_EQ(Song.Channel().RampSamples, 50);
  Song.Settings().RampLength = 0;
  Song.Settings().MasterVolume = 64;
  Song.Tick();
  const TTarnXMChannel& channel = Song.Channel();
  EXPECT_EQ(channel.RampSamples, 0);
  EXPECT_EQ(channel.RampLeft, channel.RampTargetLeft);
  EXPECT_EQ(channel.RampRight, channel.RampTargetRight);
  EXPECT_EQ(channel.RampStepLeft, 0);
  EXPECT_EQ(channel.RampStepRight, 0);
  EXPECT_EQ(channel.RampRight, 512 * 4096);
}

TEST_F(EnvelopeChannel, SurroundNegatesTheRightGain) {
  Song.Cell(0, 0, 0, Note(49, 1, 0, 33, 0x90));
  Song.Start();
  Song.Tick();
  EXPECT_EQ(Song.Channel().VolumeLeft, 2048);
  EXPECT_EQ(Song.Channel().VolumeRight, -2048);
}

TEST_F(EnvelopeChannel, FadeOutRunsAfterKeyOffOnlyWithAnEnabledVolumeEnvelope) {
  Instrument().FadeOut = 4095;
  Song.Cell(0, 1, 0, Note(97));
  Song.Start();
  Song.Tick(2);
  EXPECT_TRUE(Song.Channel().KeyOff);
  EXPECT_EQ(Song.Channel().FadeOutVolume, 65536);

  Instrument().VolumeEnvelope = Envelope({{0, 64}});
  Song.Start();
  Song.Tick(2);
  EXPECT_EQ(Song.Channel().FadeOutVolume, 65536 - 8190);
  Song.Tick(7);
  EXPECT_EQ(Song.Channel().FadeOutVolume, 16);
  EXPECT_EQ(Song.Channel().FinalVolume, 0);
  Song.Tick();
  EXPECT_EQ(Song.Channel().FadeOutVolume, 0);
  Song.Tick();
  EXPECT_EQ(Song.Channel().FadeOutVolume, 0);
}

TEST_F(EnvelopeChannel, TheVolumeEnvelopeScalesTheFinalVolume) {
  Instrument().VolumeEnvelope = Envelope({{0, 64}, {10, 0}});
  Song.Start();
  Song.Tick(2);
  EXPECT_EQ(Song.Channel().EnvelopeVolume, 58);
  EXPECT_EQ(Song.Channel().FinalVolume, 4096 * 58 / 64 * 64 / 64 * 64 / 64 * 128 / 256);
}

TEST_F(EnvelopeChannel, PanningEnvelopeExtremeGivesPanning256AndALeftGainBelowZero) {
  // A file envelope value of 255 counts as the top of the range, 64.
  for (const int top : {64, 255}) {
    Instrument().PanningEnvelope = Envelope({{0, top}});
    Song.Start();
    Song.Tick();
    const TTarnXMChannel& channel = Song.Channel();
    EXPECT_EQ(channel.EnvelopePanning, 64);
    EXPECT_EQ(channel.FinalPanning, 256);
    EXPECT_EQ(channel.VolumeLeft, -2048 / 255);
    EXPECT_EQ(channel.VolumeRight, 2048);
  }
  Instrument().PanningEnvelope = Envelope({{0, 0}});
  Song.Start();
  Song.Tick();
  EXPECT_EQ(Song.Channel().FinalPanning, 0);
}

TEST_F(EnvelopeChannel, AnEnabledEnvelopeWithoutPointsIsNeutral) {
  Instrument().VolumeEnvelope = Envelope({});
  Instrument().PanningEnvelope = Envelope({});
  Instrument().VolumeEnvelope.Points[0].Value = 7;
  Instrument().PanningEnvelope.Points[0].Value = 7;
  Song.Start();
  Song.Tick();
  EXPECT_EQ(Song.Channel().EnvelopeVolume, 64);
  EXPECT_EQ(Song.Channel().EnvelopePanning, 32);
  EXPECT_EQ(Song.Channel().FinalVolume, 2048);
}

TEST_F(EnvelopeChannel, AutoVibratoAtFullDepthWithoutSweep) {
  Instrument().VibratoType = 1;
  Instrument().VibratoDepth = 8;
  Instrument().VibratoRate = 64;
  Song.Start();
  EXPECT_EQ(Song.Trace(5, PeriodDelta), (std::vector<std::int32_t>{8, 8, -8, -8, 8}));
}

TEST_F(EnvelopeChannel, AutoVibratoSweepGrowsTheDepthUntilKeyOff) {
  Instrument().VibratoType = 1;
  Instrument().VibratoDepth = 8;
  Instrument().VibratoRate = 64;
  Instrument().VibratoSweep = 4;
  Song.Cell(0, 2, 0, Note(97));
  Song.Start();
  // Key-off on the third tick stops the sweep at 2 of 4.
  EXPECT_EQ(Song.Trace(6, PeriodDelta), (std::vector<std::int32_t>{0, 2, -4, -4, 4, 4}));
  EXPECT_EQ(Song.Channel().AutoVibratoSweep, 2);
}

TEST_F(EnvelopeChannel, AutoVibratoShapes) {
  Instrument().VibratoDepth = 64;
  Instrument().VibratoRate = 32;
  // Sine, square and the two ramps at positions 0, 32, ... 224.
  const std::vector<std::vector<std::int32_t>> expected{
      {0, 45, 64, 45, 0, -45, -64, -45},
      {64, 64, 64, 64, -64, -64, -64, -64},
      {0, -16, -32, -48, 64, 48, 32, 16},
      {0, 16, 32, 48, 64, -48, -32, -16},
  };
  for (int type = 0; type < 4; ++type) {
    Instrument().VibratoType = type;
    Song.Start();
    EXPECT_EQ(Song.Trace(8, PeriodDelta), expected[type]) << type;
  }
}

TEST_F(EnvelopeChannel, LimitsBringEverythingIntoRangeOncePerTick) {
  Song.Start();
  Song.Tick();
  TTarnXMChannel& channel = Song.Channel();
  channel.Volume = 500;
  channel.Panning = -40;
  channel.Period = 5;
  Song.State().GlobalVolume = -3;
  Song.Settings().MasterVolume = 1000;
  Song.Tick();
  EXPECT_EQ(channel.Volume, 64);
  EXPECT_EQ(channel.Panning, 0);
  EXPECT_EQ(channel.Period, 27);
  EXPECT_EQ(Song.State().GlobalVolume, 0);
  EXPECT_EQ(channel.FinalVolume, 0);
  // The settings are the caller's: the master volume is held at 256 where
  // it is used.
  Song.State().GlobalVolume = 64;
  Song.Tick();
  EXPECT_EQ(channel.FinalVolume, 4096);
}

TEST_F(EnvelopeChannel, WithoutAnInstrumentOrSampleTheChannelFallsSilent) {
  Song.Cell(0, 1, 0, Note(49, 9));
  Song.Start();
  Song.Tick();
  EXPECT_TRUE(Song.Channel().Active);
  Song.Tick();
  EXPECT_FALSE(Song.Channel().Active);

  // A note that the instrument maps to an empty sample slot.
  Instrument().SampleMap[48] = 3;
  Song.Cell(0, 1, 0, Note(49, 1));
  Song.Start();
  Song.Tick(2);
  EXPECT_EQ(Song.Channel().Sample, nullptr);
  EXPECT_FALSE(Song.Channel().Active);
}

TEST(EnvelopeUpdate, MonoOutputRampsTheLeftGainAlone) {
  TTestSong song(1, 4);
  song.Settings() = TTarnXMRenderSettings::For(44100, false);
  song.Instrument(1);
  song.Cell(0, 0, 0, Note(49, 1, 0, 8, 0));
  song.Start();
  song.Tick();
  const TTarnXMChannel& channel = song.Channel();
  EXPECT_EQ(channel.VolumeLeft, 2048);
  EXPECT_EQ(channel.VolumeRight, 0);
  EXPECT_EQ(channel.RampTargetLeft, 2048 * 4096);
  EXPECT_EQ(channel.RampStepLeft, 2048 * 4096 / 128);
  EXPECT_EQ(channel.RampTargetRight, 0);
}

}  // namespace
