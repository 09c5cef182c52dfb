// The sequencer: rows and ticks, speed and tempo, the order list with its
// restart position, jumps, breaks, loops and delays, and the song's end.
#include <gtest/gtest.h>

#include <vector>

#include "tests/player/test_song.h"

namespace {

std::vector<TRowStart> RowStarts(TTestSong& song, int ticks) {
  std::vector<TRowStart> starts;
  for (int k = 0; k < ticks; ++k) {
    song.Tick();
    if (song.State().TickCounter == 0) starts.push_back(Started(song));
  }
  return starts;
}

std::vector<TRowStart> Rows(int pattern, std::vector<int> rows) {
  std::vector<TRowStart> starts;
  for (const int row : rows) starts.push_back({pattern, row});
  return starts;
}

TEST(Sequencer, TheFirstTickPlaysRowZeroAndARowLastsSpeedTicks) {
  TTestSong song(2, 4);
  MarkRows(song, 1);
  song.Start();
  song.Tick();
  EXPECT_EQ(song.State().TickCounter, 0);
  EXPECT_EQ(Started(song), (TRowStart{0, 0}));
  EXPECT_EQ(song.State().Row, 1);
  for (int tick = 1; tick < 6; ++tick) {
    song.Tick();
    EXPECT_EQ(song.State().TickCounter, tick);
    EXPECT_EQ(song.Channel(0).Tick, tick);
    EXPECT_EQ(song.State().Row, 1);
  }
  song.Tick();
  EXPECT_EQ(Started(song), (TRowStart{0, 1}));
}

TEST(Sequencer, SpeedZeroStartsARowOnEveryTick) {
  TTestSong song(2, 8);
  MarkRows(song, 1);
  song.Cell(0, 0, 0, Effect(15, 0));
  song.Start();
  EXPECT_EQ(RowStarts(song, 7), Rows(0, {0, 1, 2, 3, 4, 5, 6}));
}

TEST(Sequencer, EffectFSetsSpeedBelow32AndTempoFrom32) {
  TTestSong song(1, 4);
  song.Data().InitialSpeed = 1;
  song.Cell(0, 0, 0, Effect(15, 32));
  song.Cell(0, 1, 0, Effect(15, 33));
  song.Cell(0, 2, 0, Effect(15, 255));
  song.Cell(0, 3, 0, Effect(15, 1));
  song.Start();
  song.Tick();
  EXPECT_EQ(song.State().Speed, 1);
  EXPECT_EQ(song.State().Tempo, 32);
  song.State().Speed = 1;
  song.Tick();
  EXPECT_EQ(song.State().Tempo, 33);
  song.Tick();
  EXPECT_EQ(song.State().Tempo, 255);
  song.Tick();
  EXPECT_EQ(song.State().Speed, 1);
  EXPECT_EQ(song.State().Tempo, 255);
}

TEST(Sequencer, TheEndOfTheSongWithRestartZeroResetsSpeedTempoVolumeAndChannels) {
  TTestSong song(3, 2, 2);
  MarkRows(song, 2);
  song.Data().InitialSpeed = 2;
  song.Cell(0, 1, 0, Effect(15, 3));
  song.Cell(1, 0, 0, Effect(15, 90));
  song.Cell(1, 1, 0, Effect(16, 20));
  song.Cell(1, 1, 1, Effect(8, 40));
  song.Start();
  EXPECT_EQ(RowStarts(song, 2 + 3 + 3 + 3), (std::vector<TRowStart>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
  EXPECT_EQ(song.State().Speed, 3);
  EXPECT_EQ(song.State().Tempo, 90);
  EXPECT_EQ(song.State().GlobalVolume, 20);
  EXPECT_EQ(song.Channel(1).Panning, 40);
  song.Tick();
  EXPECT_EQ(Started(song), (TRowStart{0, 0}));
  EXPECT_EQ(song.State().Speed, 2);
  EXPECT_EQ(song.State().Tempo, 125);
  EXPECT_EQ(song.State().GlobalVolume, 64);
  EXPECT_EQ(song.Channel(1).Panning, 128);

  // With another restart position playback goes on as it stands.
  song.Data().RestartPosition = 1;
  song.Start();
  EXPECT_EQ(RowStarts(song, 2 + 3 + 3 + 3 + 3 + 3).back(), (TRowStart{1, 1}));
  EXPECT_EQ(song.State().Speed, 3);
  EXPECT_EQ(song.State().GlobalVolume, 20);
  EXPECT_EQ(song.Channel(1).Panning, 40);
}

TEST(Sequencer, ABreakOnTheLastOrderRestartsTheSongFromItsInitialState) {
  TTestSong song(3, 4, 2);
  MarkRows(song, 2);
  song.Cell(1, 0, 0, Effect(13, 0));
  song.Cell(1, 0, 1, Effect(15, 80));
  song.Start();
  song.Tick(4 * 6 + 1);
  EXPECT_EQ(Started(song), (TRowStart{1, 0}));
  EXPECT_EQ(song.State().Tempo, 80);
  song.Channel(0).Panning = 33;
  song.Tick(6);
  EXPECT_EQ(Started(song), (TRowStart{0, 0}));
  EXPECT_EQ(song.Channel(0).Panning, 128);
  EXPECT_EQ(song.State().Tempo, 125);
}

TEST(Sequencer, JumpsAndBreaks) {
  // Two breaks: the later channel's row, the order of the first request.
  TTestSong breaks(3, 16, 3);
  MarkRows(breaks, 3);
  breaks.Cell(0, 0, 0, Effect(13, 5));
  breaks.Cell(0, 0, 1, Effect(13, 7));
  breaks.Start();
  EXPECT_EQ(RowStarts(breaks, 12), (std::vector<TRowStart>{{0, 0}, {1, 7}}));

  // A jump and a break on one row, in either order of channels.
  for (const bool jumpFirst : {true, false}) {
    TTestSong song(3, 16, 3);
    MarkRows(song, 3);
    song.Cell(0, 0, jumpFirst ? 0 : 1, Effect(11, 2));
    song.Cell(0, 0, jumpFirst ? 1 : 0, Effect(13, 3));
    song.Start();
    // A jump right of the break takes its row back to 0.
    EXPECT_EQ(RowStarts(song, 12), (std::vector<TRowStart>{{0, 0}, {2, jumpFirst ? 3 : 0}})) << jumpFirst;
  }

  // A jump past the song's end goes to the restart position's row 0; a break
  // past the next pattern's rows to that pattern's row 0.
  TTestSong past(2, 16, 4);
  MarkRows(past, 4);
  past.Data().RestartPosition = 1;
  past.Data().Patterns[1].SetSize(8, 2);
  past.Cell(0, 0, 0, Effect(11, 7));
  past.Cell(1, 0, 0, Effect(13, 0x3F));
  past.Start();
  EXPECT_EQ(RowStarts(past, 18), (std::vector<TRowStart>{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(Sequencer, AnOrderIndexPastTheTableCountsAsTheEnd) {
  TTestSong song(2, 4, 2);
  MarkRows(song, 2);
  // A song length above the table's 256 entries, and a break from its last.
  song.Data().SongLength = 300;
  song.Data().Orders.fill(0);
  song.Data().Orders[255] = 1;
  song.Cell(0, 0, 0, Effect(11, 255));
  song.Cell(1, 0, 0, Effect(13, 0));
  song.Start();
  EXPECT_EQ(RowStarts(song, 3 * 6), (std::vector<TRowStart>{{0, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(song.State().OrderPosition, 255);
}

TEST(Sequencer, PatternLoopPlaysItsRowsYPlusOneTimes) {
  TTestSong song(2, 6);
  MarkRows(song, 1);
  song.Data().InitialSpeed = 1;
  song.Cell(0, 1, 0, Effect(14, 0x60));
  song.Cell(0, 3, 0, Effect(14, 0x62));
  song.Start();
  EXPECT_EQ(RowStarts(song, 12), Rows(0, {0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 4, 5}));
  EXPECT_FALSE(song.Channel(0).LoopActive);
}

TEST(Sequencer, PatternLoopRowSurvivesAChangeOfPattern) {
  TTestSong song(2, 4, 2);
  MarkRows(song, 2);
  song.Data().InitialSpeed = 1;
  song.Cell(0, 2, 0, Effect(14, 0x60));
  song.Cell(1, 3, 0, Effect(14, 0x61));
  song.Start();
  EXPECT_EQ(RowStarts(song, 10),
            (std::vector<TRowStart>{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 2}, {1, 3}}));
}

TEST(Sequencer, PatternDelayRepeatsTheRowsTicksWithoutANewNote) {
  TTestSong song(3, 4);
  MarkRows(song, 1);
  song.Instrument(1);
  song.Cell(0, 0, 0, Note(49, 1, 0x20, 14, 0xE2));
  song.Cell(0, 0, 1, Note(49, 1, 0, 10, 0x10));
  song.Start();
  song.Tick();
  song.Channel(0).Position = 12345;
  for (int tick = 1; tick < 18; ++tick) {
    song.Tick();
    EXPECT_EQ(song.State().TickCounter, tick);
  }
  EXPECT_EQ(song.Channel(0).Position, 12345);
  song.Channel(1).Volume = 10;
  song.Tick();
  EXPECT_EQ(Started(song), (TRowStart{0, 1}));
  EXPECT_EQ(song.Channel(1).Volume, 10);

  // The delayed row's volume slide ran on all 17 later ticks.
  song.Start();
  song.Tick();
  song.Channel(1).Volume = 0;
  song.Tick(17);
  EXPECT_EQ(song.Channel(1).Volume, 17);
}

TEST(Sequencer, AnOrderListWithoutRowsStaysSilentInsteadOfSearchingForEver) {
  TTestSong song(1, 4, 3);
  song.Data().Patterns[1].SetSize(0, 1);
  song.Data().Patterns[2].SetSize(0, 1);
  song.Orders({1, 2, 1});
  song.Start();
  song.Tick(20);
  EXPECT_TRUE(song.State().SongEnded);

  // The restart position past the song, with its only playable pattern
  // before the restart.
  song.Orders({0, 1, 2});
  song.Data().RestartPosition = 1;
  song.Start();
  EXPECT_EQ(song.TicksToEnd(), 4 * 6);

  song.Data().SongLength = 0;
  song.Data().RestartPosition = 0;
  song.Start();
  song.Tick(3);
  EXPECT_TRUE(song.State().SongEnded);
}

TEST(Sequencer, TheSongEndsWhereARowWouldPlayAgain) {
  // Straight through, then round to order 0.
  TTestSong plain(1, 4, 2);
  plain.Start();
  EXPECT_EQ(plain.TicksToEnd(), 8 * 6);

  // A jump back into the first pattern's middle.
  TTestSong back(2, 4, 2);
  back.Cell(1, 1, 0, Effect(11, 0));
  back.Cell(1, 1, 1, Effect(13, 2));
  back.Start();
  EXPECT_EQ(back.TicksToEnd(), 6 * 6);

  // A pattern loop plays its rows again without ending the song.
  TTestSong loop(1, 4);
  loop.Cell(0, 1, 0, Effect(14, 0x60));
  loop.Cell(0, 2, 0, Effect(14, 0x62));
  loop.Start();
  EXPECT_EQ(loop.TicksToEnd(), (1 + 2 * 3 + 1) * 6);

  // A restart position: the end is where that order comes round again.
  TTestSong restart(1, 4, 3);
  restart.Data().RestartPosition = 1;
  restart.Start();
  EXPECT_EQ(restart.TicksToEnd(), 12 * 6);
  EXPECT_EQ(restart.State().OrderPosition, 1);
  // Playback itself goes on.
  restart.Tick(4 * 6);
  EXPECT_EQ(restart.State().OrderPosition, 2);

  // A reset starts the count afresh.
  restart.Start();
  EXPECT_FALSE(restart.State().SongEnded);
  EXPECT_EQ(restart.TicksToEnd(), 12 * 6);
}

}  // namespace
