// The score's own reckoning of a song's length, by the rules the player's
// sequencer follows.
#include "tools/music/song_timer.h"

#include <gtest/gtest.h>

namespace {

// One channel; every pattern 4 rows unless changed.
TXmSong Song(int patterns) {
  TXmSong song;
  song.Channels = 1;
  song.Speed = 6;
  song.Tempo = 125;
  for (int p = 0; p < patterns; ++p) song.Patterns.push_back({"", 4, std::vector<TXmCell>(4)});
  return song;
}

constexpr std::int64_t Row125 = 6 * 882;  // frames of a row at speed 6, tempo 125

}  // namespace

TEST(SongTimer, CountsRowsAtTheirSpeedAndTempo) {
  TXmSong song = Song(2);
  song.Orders = {0, 1};
  song.Patterns[1].Cells[1] = {0, 0, 0, 0x0F, 3};     // speed 3 from row 1 on
  song.Patterns[1].Cells[2] = {0, 0, 0, 0x0F, 250};   // tempo 250 from row 2 on
  const TSongTiming timing = TimeSong(song);
  EXPECT_EQ(timing.Rows, 8);
  EXPECT_EQ(timing.Frames, 5 * Row125 + 3 * 882 + 2 * 3 * 441);
  EXPECT_DOUBLE_EQ(timing.Seconds, timing.Frames / 44100.0);
}

TEST(SongTimer, FollowsBreaksAndJumpsAndEndsWhereTheSongWouldRepeat) {
  TXmSong song = Song(3);
  song.Orders = {0, 1, 2};
  song.Patterns[0].Cells[1] = {0, 0, 0, 0x0D, 2};  // break to row 2 of order 1
  song.Patterns[1].Cells[3] = {0, 0, 0, 0x0B, 0};  // jump back to order 0: the song repeats
  EXPECT_EQ(TimeSong(song).Rows, 2 + 2);
  // A restart position does not end the song early: the order list runs out first.
  song = Song(2);
  song.Orders = {0, 1, 0};
  song.RestartPosition = 1;
  EXPECT_EQ(TimeSong(song).Rows, 12);
}

TEST(SongTimer, PlaysAPatternLoopsBodyTwoTimesMoreThanItsCount) {
  TXmSong song = Song(1);
  song.Orders = {0};
  song.Patterns[0].Cells[1] = {0, 0, 0, 0x0E, 0x60};
  song.Patterns[0].Cells[2] = {0, 0, 0, 0x0E, 0x62};
  // Rows 1 and 2 four times over, rows 0 and 3 once.
  EXPECT_EQ(TimeSong(song).Rows, 2 + 4 * 2);
}

TEST(SongTimer, SkipsOrdersWithoutAPatternAndShortPatterns) {
  TXmSong song = Song(1);
  song.Orders = {0, 7, 0};
  song.Patterns[0] = {"", 4, std::vector<TXmCell>(2)};  // rows 2 and 3 hold no cells: they play empty
  EXPECT_EQ(TimeSong(song).Rows, 8);
}
