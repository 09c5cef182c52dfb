// The intro's music as the build makes it: the module loads with the facts
// its score gives, is the one embedded as MSX, plays at least ninety seconds
// before it loops and renders to that point without clipping, and a second
// player agrees on its length.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "platform/resources.h"
#include "player/module.h"
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
  TTarnXMModule module;
  ASSERT_TRUE(module.LoadFromMemory(made.Bytes.data(), made.Bytes.size()));
  EXPECT_EQ(module.Name, made.Score.Title);
  EXPECT_GE(module.NumChannels, 8);
  EXPECT_LE(module.NumChannels, 12);
  EXPECT_EQ(module.NumChannels, static_cast<std::int32_t>(made.Score.ChannelNames.size()));
  EXPECT_EQ(module.SongLength, static_cast<std::int32_t>(made.Score.Orders.size()));
  EXPECT_EQ(module.RestartPosition, made.Score.Restart);
  EXPECT_EQ(module.InitialSpeed, made.Score.Speed);
  EXPECT_EQ(module.InitialTempo, made.Score.Tempo);
  EXPECT_EQ(module.ExtendedFilterRange, made.Score.ExtendedFilterRange);
  EXPECT_TRUE(module.MidiConfigLoaded);
  for (std::size_t c = 0; c < made.Score.ChannelNames.size(); ++c)
    EXPECT_EQ(module.Channels[c]->Name, made.Score.ChannelNames[c]);
  for (const TScoreInstrument& instrument : made.Score.Instruments) {
    ASSERT_TRUE(module.Instruments[instrument.Number]) << instrument.Name;
    EXPECT_EQ(module.Instruments[instrument.Number]->Name, instrument.Name);
    ASSERT_TRUE(module.Instruments[instrument.Number]->Samples[0]) << instrument.Name;
    EXPECT_EQ(module.Instruments[instrument.Number]->Samples[0]->Bits, instrument.Bits);
  }
  for (std::size_t order = 0; order < made.Score.Orders.size(); ++order)
    EXPECT_EQ(module.Patterns[module.Orders[order]].Name, made.Score.Orders[order]) << "order " << order;
}

TEST(Music, EveryPatternHoldsTheCellsOfItsScore) {
  const TMadeSong& made = Made();
  TTarnXMModule module;
  ASSERT_TRUE(module.LoadFromMemory(made.Bytes.data(), made.Bytes.size()));
  const std::size_t channels = made.Score.ChannelNames.size();
  for (std::size_t p = 0; p < made.Score.Patterns.size(); ++p) {
    const TScorePattern& pattern = made.Score.Patterns[p];
    const TPatternLayout layout = LayOutPattern(made.Score, pattern);
    ASSERT_EQ(module.Patterns[p].Rows, pattern.Rows) << pattern.Name;
    for (int row = 0; row < pattern.Rows; ++row)
      for (std::size_t c = 0; c < channels; ++c) {
        const TXmCell& want = layout.Cells[row * channels + c];
        const TTarnXMPatternNote got = module.Patterns[p].GetNote(row, static_cast<std::int32_t>(c));
        ASSERT_EQ(got, (TTarnXMPatternNote{want.Note, want.Instrument, want.VolumeColumn, want.Effect,
                                           want.EffectParameter}))
            << pattern.Name << " row " << row << " channel " << made.Score.ChannelNames[c];
      }
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
  const double seconds = render.Samples.size() / 2.0 / render.Rate;
  EXPECT_GE(seconds, 90.0);
  // The player's sequencer and the score's own reckoning meet to the frame.
  EXPECT_EQ(static_cast<std::int64_t>(render.Samples.size() / 2), TimeSong(Made().Song).Frames);
  EXPECT_LT(render.Peak, 32768);
  double sum = 0;
  for (const std::int16_t value : render.Samples) sum += static_cast<double>(value) * value;
  // Comfortable: neither faint nor pressed against the ceiling.
  const double rms = 10 * std::log10(sum / render.Samples.size() / (32768.0 * 32768.0));
  EXPECT_GT(rms, -18.0);
  EXPECT_LT(rms, -12.0);
}

TEST(Music, LibxmpAgreesOnTheLengthWithinOnePercent) {
  const int peer = PeerDurationMs(Made().Bytes);
  ASSERT_GT(peer, 0);
  const double seconds = TimeSong(Made().Song).Seconds;
  EXPECT_NEAR(peer / 1000.0, seconds, seconds * 0.01);
}
