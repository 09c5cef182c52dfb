// The intro's music as the build makes it: the module loads with the facts
// its score gives, is the one embedded as MSX, plays at least ninety seconds
// before it loops and renders to that point without clipping, and a second
// player agrees on its length. The facts that the engine's public
// descriptions leave out (the filter range, the macros and the pattern
// names) are read from the loaded song itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "platform/resources.h"
#include "tarnxm/tarnxm.h"
#include "tests/tools/cell_fields.h"
#include "tools/music/pattern_layout.h"
#include "tools/music/score_parser.h"
#include "tools/music/song_builder.h"
#include "tools/music/song_timer.h"
#include "tools/music_render/song_render.h"
#include "tools/xm_writer/xm_writer.h"
#include "tools/xmp_peer/xmp_peer.h"

namespace {

struct TMadeSong {
  TScore Score;
  TXmSong Song;
  std::vector<std::uint8_t> Bytes;
};

// Tests run in the source folder.
const TMadeSong& Made() {
  static const TMadeSong made = [] {
    TMadeSong result;
    std::ifstream file("resources/music/driftlow.txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    TScoreParseResult parsed = ParseScore(text);
    EXPECT_EQ(parsed.Error, "");
    result.Score = std::move(parsed.Score);
    TSongBuildResult built = BuildSong(result.Score);
    EXPECT_EQ(built.Error, "");
    result.Song = std::move(built.Song);
    TXmWriteResult written = WriteXm(result.Song);
    EXPECT_EQ(written.Error, "");
    result.Bytes = std::move(written.Bytes);
    return result;
  }();
  return made;
}

}  // namespace

TEST(Music, TheModuleLoadsWithTheFactsOfItsScore) {
  const TMadeSong& made = Made();
  const TTarnXMLoad load = LoadModule(made.Bytes.data(), made.Bytes.size());
  ASSERT_TRUE(load) << load.Error;
  const TTarnXMSongInfo info = DescribeSong(*load.Song);
  EXPECT_EQ(info.Title, made.Score.Title);
  EXPECT_GE(info.Channels, 8);
  EXPECT_LE(info.Channels, 12);
  EXPECT_EQ(info.ChannelNames, made.Score.ChannelNames);
  EXPECT_EQ(info.Orders.size(), made.Score.Orders.size());
  EXPECT_EQ(info.RestartPosition, made.Score.Restart);
  EXPECT_EQ(info.InitialSpeed, made.Score.Speed);
  EXPECT_EQ(info.InitialTempo, made.Score.Tempo);
  EXPECT_EQ(info.ExtendedFilterRange, made.Score.ExtendedFilterRange);
  EXPECT_TRUE(info.MacrosFromFile);
  const std::vector<TTarnXMInstrumentInfo> instruments = DescribeInstruments(*load.Song);
  for (const TScoreInstrument& instrument : made.Score.Instruments) {
    const auto found = std::find_if(instruments.begin(), instruments.end(), [&](const TTarnXMInstrumentInfo& loaded) {
      return loaded.Number == instrument.Number;
    });
    ASSERT_NE(found, instruments.end()) << instrument.Name;
    EXPECT_EQ(found->Name, instrument.Name);
    ASSERT_FALSE(found->Samples.empty()) << instrument.Name;
    EXPECT_EQ(found->Samples[0].Index, 0) << instrument.Name;
    EXPECT_EQ(found->Samples[0].Bits, instrument.Bits);
  }
  for (std::size_t order = 0; order < made.Score.Orders.size(); ++order)
    EXPECT_EQ(info.PatternNames.at(static_cast<std::size_t>(info.Orders[order])), made.Score.Orders[order])
        << "order " << order;
}

TEST(Music, EveryPatternHoldsTheCellsOfItsScore) {
  const TMadeSong& made = Made();
  const TTarnXMLoad load = LoadModule(made.Bytes.data(), made.Bytes.size());
  ASSERT_TRUE(load) << load.Error;
  const std::size_t channels = made.Score.ChannelNames.size();
  for (std::size_t p = 0; p < made.Score.Patterns.size(); ++p) {
    const TScorePattern& pattern = made.Score.Patterns[p];
    const TPatternLayout layout = LayOutPattern(made.Score, pattern);
    const auto number = static_cast<std::int32_t>(p);
    ASSERT_EQ(PatternRows(*load.Song, number), pattern.Rows) << pattern.Name;
    for (int row = 0; row < pattern.Rows; ++row)
      for (std::size_t c = 0; c < channels; ++c)
        ASSERT_EQ(Fields(PatternCell(*load.Song, number, row, static_cast<std::int32_t>(c))),
                  Fields(layout.Cells[row * channels + c]))
            << pattern.Name << " row " << row << " channel " << made.Score.ChannelNames[c];
  }
}

TEST(Music, TheEmbeddedModuleIsTheOneItsScoreMakes) {
  const platform::TResource* resource = platform::FindResource("msx", "#10");
  ASSERT_NE(resource, nullptr);
  const std::vector<std::uint8_t> embedded(resource->Data.begin(), resource->Data.end());
  EXPECT_TRUE(embedded == Made().Bytes) << "resources/music/driftlow.txt has changed since the build made MSX";
}

TEST(Music, PlaysAtLeastNinetySecondsBeforeItLoopsWithoutClipping) {
  const TSongRender render = RenderSong(Made().Bytes);
  ASSERT_EQ(render.Error, "");
  const double seconds = static_cast<double>(render.Samples.size()) / 2.0 / render.Rate;
  EXPECT_GE(seconds, 90.0);
  // The player's sequencer and the score's own reckoning meet to the frame.
  EXPECT_EQ(static_cast<std::int64_t>(render.Samples.size() / 2), TimeSong(Made().Song).Frames);
  EXPECT_LT(render.Peak, 32768);
  double sum = 0;
  for (const std::int16_t value : render.Samples) sum += static_cast<double>(value) * value;
  // Comfortable: neither faint nor pressed against the ceiling.
  const double rms = 10 * std::log10(sum / static_cast<double>(render.Samples.size()) / (32768.0 * 32768.0));
  EXPECT_GT(rms, -18.0);
  EXPECT_LT(rms, -12.0);
}

TEST(Music, LibxmpAgreesOnTheLengthWithinOnePercent) {
  const int peer = PeerDurationMs(Made().Bytes);
  ASSERT_GT(peer, 0);
  const double seconds = TimeSong(Made().Song).Seconds;
  EXPECT_NEAR(peer / 1000.0, seconds, seconds * 0.01);
}
