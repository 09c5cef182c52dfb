#include "player/sample.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A mono or stereo sample whose frame f holds the value 100 * (f + 1) (and
// its negation on the right).
void Fill(TTarnXMSample& sample, int frames, int channels) {
  sample.Channels = channels;
  sample.Length = frames;
  ASSERT_TRUE(sample.AllocateData(static_cast<std::size_t>(frames * channels)));
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) sample.Data[f * channels + c] = (c == 0 ? 1 : -1) * 100 * (f + 1);
}

std::vector<int> Frames(const TTarnXMSample& sample, int from, int to) {
  std::vector<int> values;
  for (int f = from; f < to; ++f) values.push_back(sample.Data[f * sample.Channels]);
  return values;
}

TEST(Sample, AllocateDataZeroFillsGrowsKeepingValuesAndFreesAtZero) {
  TTarnXMSample sample;
  ASSERT_TRUE(sample.AllocateData(4));
  for (int k = -8; k < 12; ++k) EXPECT_EQ(sample.Data[k], 0) << k;
  sample.Data[0] = 7;
  sample.Data[3] = 9;
  ASSERT_TRUE(sample.AllocateData(100));
  EXPECT_EQ(sample.Data[0], 7);
  EXPECT_EQ(sample.Data[3], 9);
  EXPECT_EQ(sample.Data[107], 0);
  ASSERT_TRUE(sample.AllocateData(0));
  EXPECT_EQ(sample.Data, nullptr);
}

TEST(Sample, AllocateDataRefusesACountNoBlockCanHold) {
  TTarnXMSample sample;
  EXPECT_FALSE(sample.AllocateData(static_cast<std::size_t>(-1) / 2));
  EXPECT_EQ(sample.Data, nullptr);
}

TEST(Sample, ClearRestoresTheEmptyValues) {
  TTarnXMSample sample;
  Fill(sample, 10, 2);
  sample.Volume = 3;
  sample.Loop = true;
  sample.Name = "x";
  sample.Clear();
  EXPECT_EQ(sample.Data, nullptr);
  EXPECT_EQ(sample.Length, 0);
  EXPECT_EQ(sample.Channels, 1);
  EXPECT_EQ(sample.Bits, 8);
  EXPECT_EQ(sample.Volume, 64);
  EXPECT_EQ(sample.Panning, 128);
  EXPECT_TRUE(sample.UsePanning);
  EXPECT_FALSE(sample.Loop);
  EXPECT_TRUE(sample.Name.empty());
}

TEST(Sample, OneFrameSampleIsGuardedByCopiesOfIt) {
  TTarnXMSample sample;
  Fill(sample, 1, 1);
  sample.PrepareForInterpolation();
  EXPECT_EQ(Frames(sample, -4, 5), std::vector<int>(9, 100));
}

TEST(Sample, GuardsRepeatTheFirstAndLastFrameOfEachStereoChannel) {
  TTarnXMSample sample;
  Fill(sample, 6, 2);
  sample.PrepareForInterpolation();
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(sample.Data[-2 * k], 100);
    EXPECT_EQ(sample.Data[-2 * k + 1], -100);
    EXPECT_EQ(sample.Data[2 * (5 + k)], 600);
    EXPECT_EQ(sample.Data[2 * (5 + k) + 1], -600);
  }
}

TEST(Sample, ForwardLoopFromFrameOneCopiesTheLoopStartBehindItsEnd) {
  TTarnXMSample sample;
  Fill(sample, 8, 1);
  sample.Loop = true;
  sample.LoopStart = 1;
  sample.LoopLength = 7;
  sample.PrepareForInterpolation();
  EXPECT_EQ(Frames(sample, 8, 12), (std::vector<int>{200, 300, 400, 500}));
  EXPECT_EQ(Frames(sample, -4, 0), std::vector<int>(4, 100));
}

TEST(Sample, ForwardLoopEndingInsideTheSampleOverwritesTheFramesAfterIt) {
  TTarnXMSample sample;
  Fill(sample, 10, 1);
  sample.Loop = true;
  sample.LoopStart = 2;
  sample.LoopLength = 3;
  sample.PrepareForInterpolation();
  EXPECT_EQ(Frames(sample, 5, 9), (std::vector<int>{300, 400, 500, 300}));
  EXPECT_EQ(Frames(sample, 10, 14), std::vector<int>(4, 1000));
}

TEST(Sample, PingPongLoopsGetOnlyTheEndGuardsAndLoopsFromFrameZeroWrapBothWays) {
  for (const bool pingPong : {false, true}) {
    TTarnXMSample sample;
    Fill(sample, 8, 1);
    sample.Loop = true;
    sample.PingPong = pingPong;
    sample.LoopStart = pingPong ? 2 : 0;
    sample.LoopLength = pingPong ? 4 : 6;
    sample.PrepareForInterpolation();
    if (pingPong) {
      EXPECT_EQ(Frames(sample, 0, 8), (std::vector<int>{100, 200, 300, 400, 500, 600, 700, 800}));
      EXPECT_EQ(Frames(sample, 8, 12), std::vector<int>(4, 800));
    } else {
      EXPECT_EQ(Frames(sample, -4, 8), (std::vector<int>{300, 400, 500, 600, 100, 200, 300, 400, 500, 600, 100, 200}));
      EXPECT_EQ(Frames(sample, 8, 12), (std::vector<int>{300, 400, 800, 800}));
    }
  }
}

TEST(Sample, LengthBeyondTheBlockIsNotGuarded) {
  TTarnXMSample sample;
  Fill(sample, 4, 1);
  sample.Length = 1000;
  sample.PrepareForInterpolation();
  EXPECT_EQ(sample.Data[4], 0);
}

}  // namespace
