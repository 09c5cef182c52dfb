// Every specialised mix routine against a plain reference mixer written here
// with one loop, run-time switches and 64-bit arithmetic throughout: same
// accumulators, same position, ramp gains and filter history, on random
// samples, positions, steps, gains, ramps and filters. The vectorised
// routines, where the processor has them, are held to the same.
#include "player/mix_routines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "player/channel.h"
#include "player/interpolation_tables.h"
#include "player/sample.h"

namespace {

constexpr std::int64_t One = std::int64_t{1} << 32;

std::int64_t Saturate(std::int64_t v) { return std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX); }

struct TReferenceState {
  std::int64_t Position;
  std::int64_t RampLeft, RampRight;
  std::array<std::int64_t, 4> History;
};

// The value of one side at frame i plus fraction f.
std::int64_t ReferenceRead(const TTarnXMSample& sample, int side, std::int64_t i, std::uint32_t f, int interpolation,
                           const TTarnXMCubicSpline& cubic, const TTarnXMWindowedFIR& sinc) {
  const auto d = [&](std::int64_t k) -> std::int64_t { return sample.Data[(i + k) * sample.Channels + side]; };
  switch (interpolation) {
    case 0: return d(0);
    case 1: return d(0) + (d(1) - d(0)) * (f >> 16) / 65536;
    case 2: {
      const std::int32_t* c = cubic.Row(static_cast<int>(f >> 22));
      return (d(-1) * c[0] + d(0) * c[1] + d(1) * c[2] + d(2) * c[3]) / 16384;
    }
    default: {
      const std::int32_t* c = sinc.Row(static_cast<int>(f >> 20));
      std::int64_t a = 0, b = 0;
      for (int t = 0; t < 4; ++t) a += d(t - 3) * c[t];
      for (int t = 4; t < 8; ++t) b += d(t - 3) * c[t];
      return (a / 2 + b / 2) / 16384;
    }
  }
}

std::int64_t ReferenceFilter(const TMixAxes& axes, const TTarnXMChannel& channel, std::int64_t v, std::int64_t& y1,
                             std::int64_t& y2) {
  const std::int64_t y = Saturate((channel.FilterA0 * v + channel.FilterB0 * y1 + channel.FilterB1 * y2) / 4096);
  y2 = y1;
  y1 = axes.Filter == LowPassFilter ? y : Saturate(y - v);
  return y;
}

void ReferenceMix(const TMixAxes& axes, std::vector<std::int64_t>& out, int count, const TTarnXMChannel& channel,
                  TReferenceState& state, const TTarnXMCubicSpline& cubic, const TTarnXMWindowedFIR& sinc) {
  const TTarnXMSample& sample = *channel.Sample;
  const bool stereoOutput = axes.OutputChannels == 2;
  for (int k = 0; k < count; ++k) {
    const std::int64_t i = state.Position >> 32;
    const auto f = static_cast<std::uint32_t>(state.Position);
    std::int64_t left = ReferenceRead(sample, 0, i, f, axes.Interpolation, cubic, sinc);
    std::int64_t right = left;
    if (sample.Channels == 2) {
      right = ReferenceRead(sample, 1, i, f, axes.Interpolation, cubic, sinc);
      if (!stereoOutput) left = (left + right) / 2;
    }
    if (axes.Filter != NoFilter) {
      left = ReferenceFilter(axes, channel, left, state.History[0], state.History[1]);
      right = stereoOutput && sample.Channels == 2
                  ? ReferenceFilter(axes, channel, right, state.History[2], state.History[3])
                  : left;
    }
    std::int64_t gainLeft = channel.VolumeLeft;
    std::int64_t gainRight = axes.DifferentGains ? channel.VolumeRight : channel.VolumeLeft;
    if (axes.Ramping) {
      state.RampLeft += channel.RampStepLeft;
      gainLeft = gainRight = state.RampLeft / 4096;
      if (axes.DifferentGains) {
        state.RampRight += channel.RampStepRight;
        gainRight = state.RampRight / 4096;
      }
    }
    out[k * axes.OutputChannels] += gainLeft * left;
    if (stereoOutput) out[k * 2 + 1] += gainRight * right;
    state.Position += channel.MixIncrement;
  }
  if (axes.Ramping && stereoOutput && !axes.DifferentGains) state.RampRight = state.RampLeft;
}

std::string Describe(const TMixAxes& a) {
  return std::to_string(a.OutputChannels) + " out, interpolation " + std::to_string(a.Interpolation) + ", " +
         std::to_string(a.SampleChannels) + "-channel sample, ramping " + std::to_string(a.Ramping) + ", filter " +
         std::to_string(a.Filter) + ", different gains " + std::to_string(a.DifferentGains);
}

class MixRoutinesTest : public ::testing::Test {
 protected:
  // Checks a table's routine for every cell against the reference.
  void CheckTables(const TMixRoutineTables& tables, std::uint32_t seed) {
    std::mt19937 random(seed);
    int cells = 0;
    for (int out = 1; out <= 2; ++out)
      for (int interpolation = 0; interpolation < 4; ++interpolation)
        for (int sampleChannels = 1; sampleChannels <= 2; ++sampleChannels)
          for (int ramping = 0; ramping < 2; ++ramping)
            for (int filter = 0; filter < 3; ++filter)
              for (int gains = 0; gains < out; ++gains) {
                const TMixAxes axes{out, interpolation, sampleChannels, ramping == 1, filter, gains == 1};
                const TMixRoutine routine = FindMixRoutine(tables, axes);
                ASSERT_NE(routine, nullptr) << Describe(axes);
                for (int trial = 0; trial < 60; ++trial) CheckOnce(axes, routine, random);
                ++cells;
              }
    EXPECT_EQ(cells, 144);
  }

  void CheckOnce(const TMixAxes& axes, TMixRoutine routine, std::mt19937& random) {
    const auto uniform = [&](std::int64_t low, std::int64_t high) {
      return std::uniform_int_distribution<std::int64_t>(low, high)(random);
    };
    constexpr int Frames = 400;
    TTarnXMSample sample;
    sample.Channels = axes.SampleChannels;
    sample.Length = Frames;
    ASSERT_TRUE(sample.AllocateData(static_cast<std::size_t>(Frames * sample.Channels)));
    // Full-scale noise, with runs of the extremes so that neighbouring values
    // differ by the most 16 bits allow.
    for (int k = 0; k < Frames * sample.Channels; ++k)
      sample.Data[k] =
          uniform(0, 3) == 0 ? (uniform(0, 1) ? 32767 : -32768) : static_cast<std::int32_t>(uniform(-32768, 32767));
    sample.PrepareForInterpolation();

    TTarnXMChannel channel;
    channel.Sample = &sample;
    const int count = static_cast<int>(uniform(1, 40));
    const std::int64_t step = uniform(1, 3 * One);
    const bool backwards = uniform(0, 1) == 1;
    channel.MixIncrement = backwards ? -step : step;
    const std::int64_t travel = step * (count - 1);
    channel.Position = backwards ? uniform(travel, Frames * One - 1) : uniform(0, Frames * One - 1 - travel);
    channel.VolumeLeft = static_cast<std::int32_t>(uniform(-4096, 4096));
    channel.VolumeRight = static_cast<std::int32_t>(uniform(-4096, 4096));
    channel.RampLeft = static_cast<std::int32_t>(uniform(-4096, 4096) * 4096);
    channel.RampRight = static_cast<std::int32_t>(uniform(-4096, 4096) * 4096);
    channel.RampStepLeft = static_cast<std::int32_t>(uniform(-65536, 65536));
    channel.RampStepRight = static_cast<std::int32_t>(uniform(-65536, 65536));
    // Coefficients from gentle to far past stable, so that the products pass
    // 32 bits and the outputs saturate.
    const std::int32_t range = uniform(0, 1) ? 9000 : 1 << 20;
    channel.FilterA0 = static_cast<std::int32_t>(uniform(-range, range));
    channel.FilterB0 = static_cast<std::int32_t>(uniform(-range, range));
    channel.FilterB1 = static_cast<std::int32_t>(uniform(-range, range));
    for (std::int32_t& y : channel.FilterHistory) y = static_cast<std::int32_t>(uniform(INT32_MIN, INT32_MAX));

    std::vector<std::int64_t> expected(static_cast<std::size_t>(count * axes.OutputChannels) + 4);
    for (std::int64_t& v : expected) v = uniform(-(std::int64_t{1} << 40), std::int64_t{1} << 40);
    std::vector<std::int64_t> actual = expected;
    TReferenceState state{channel.Position, channel.RampLeft, channel.RampRight, {}};
    for (int h = 0; h < 4; ++h) state.History[h] = channel.FilterHistory[h];
    ReferenceMix(axes, expected, count, channel, state, Cubic, Sinc);

    const std::int32_t* table = axes.Interpolation == 2   ? Cubic.Table.data()
                                : axes.Interpolation == 3 ? Sinc.Table.data()
                                                          : nullptr;
    std::int64_t* out = actual.data();
    routine(out, count, channel, table);
    const std::string where = Describe(axes) + ", count " + std::to_string(count);
    ASSERT_EQ(out, actual.data() + count * axes.OutputChannels) << where;
    ASSERT_EQ(actual, expected) << where;
    ASSERT_EQ(channel.Position, state.Position) << where;
    if (axes.Ramping) {
      ASSERT_EQ(channel.RampLeft, state.RampLeft) << where;
      if (axes.OutputChannels == 2) {
        ASSERT_EQ(channel.RampRight, state.RampRight) << where;
      }
    }
    for (int h = 0; h < 4 && axes.Filter != NoFilter; ++h)
      ASSERT_EQ(channel.FilterHistory[h], state.History[h]) << where;
  }

  const TTarnXMCubicSpline Cubic;
  const TTarnXMWindowedFIR Sinc;
};

TEST_F(MixRoutinesTest, PortableRoutinesMatchTheReference) { CheckTables(PortableMixRoutines(), 1); }

TEST_F(MixRoutinesTest, VectorRoutinesMatchTheReference) {
  if (!VectorMixRoutines()) GTEST_SKIP() << "no vectorised routines on this processor";
  CheckTables(*VectorMixRoutines(), 2);
}

TEST_F(MixRoutinesTest, TheMixerUsesTheVectorRoutinesWhereThereAreAny) {
  EXPECT_EQ(&MixRoutines(), VectorMixRoutines() ? VectorMixRoutines() : &PortableMixRoutines());
  EXPECT_EQ(FindMixRoutine(MixRoutines(), {3, 0, 1, false, 0, false}), nullptr);
}

}  // namespace
