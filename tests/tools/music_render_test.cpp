// One pass through a module as the intro plays it: the samples are the
// engine's own 16-bit output with clipping, the peak is the loudest value
// before the clamp (above full scale where the song clips, however far), and
// a module that does not load says so.
#include "tools/music_render/song_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tarnxm/tarnxm.h"
#include "tools/xm_writer/xm_writer.h"

namespace {

// Every channel plays a full-scale square wave for sixteen rows.
std::vector<std::uint8_t> SquareSong(int channels) {
  TXmSong song;
  song.Channels = channels;
  song.Orders = {0};
  TXmPattern pattern{"", 16, std::vector<TXmCell>(16 * channels)};
  for (int c = 0; c < channels; ++c) pattern.Cells[c] = {49, 1, 0, 0, 0};
  song.Patterns = {pattern};
  TXmSample square;
  for (int k = 0; k < 64; ++k) square.Data.push_back(k < 32 ? 32767 : -32767);
  square.Loop = TXmLoop::Forward;
  square.LoopLength = 64;
  TXmInstrument instrument;
  instrument.Samples = {square};
  song.Instruments = {instrument};
  return WriteXm(song).Bytes;
}

struct TLoudness {
  int Channels;
  bool Clips;
};

class MusicRenderTest : public ::testing::TestWithParam<TLoudness> {};

TEST_P(MusicRenderTest, SamplesAreTheClippedOutputAndThePeakTheValueBeforeTheClamp) {
  const std::vector<std::uint8_t> module = SquareSong(GetParam().Channels);
  const TSongRender render = RenderSong(module);
  ASSERT_EQ(render.Error, "");
  const TTarnXMLoad load = LoadModule(module.data(), module.size());
  ASSERT_TRUE(load) << load.Error;
  // The header's defaults are the intro's settings, once through.
  const std::size_t frames = render.Samples.size() / 2;
  std::vector<std::int16_t> clipped(2 * frames + 2);
  ASSERT_EQ(TTarnXMRenderer(load.Song).Render(clipped.data(), frames + 1), frames);
  clipped.resize(2 * frames);
  EXPECT_TRUE(render.Samples == clipped);

  std::vector<float> unclipped(2 * frames);
  TTarnXMRenderer(load.Song).Render(unclipped.data(), frames);
  double loudest = 0;
  for (const float value : unclipped) loudest = std::max(loudest, std::abs(static_cast<double>(value)) * 32768);
  EXPECT_NEAR(static_cast<double>(render.Peak), loudest, 1.0);
  EXPECT_EQ(render.Peak >= 32768, GetParam().Clips) << render.Peak;
}

// Four channels reach past twice full scale, where the 16-bit values wrap
// more than once.
INSTANTIATE_TEST_SUITE_P(Loudness, MusicRenderTest, ::testing::Values(TLoudness{1, false}, TLoudness{4, true}));

TEST(MusicRender, AModuleThatDoesNotLoadSaysSo) {
  const TSongRender render = RenderSong(std::vector<std::uint8_t>(100, 7));
  EXPECT_EQ(render.Error, "the player cannot load the module");
  EXPECT_TRUE(render.Samples.empty());
}

}  // namespace
