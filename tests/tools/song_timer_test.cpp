// The score's own reckoning of a song's length, by the rules the player's
// sequencer follows.
#include "tools/music/song_timer.h"

#include <gtest/gtest.h>

#include "tools/music/effect_numbers.h"

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

constexpr std::uint8_t Jump = EffectNumber(TTarnXMEffect::PositionJump);
constexpr std::uint8_t Break = EffectNumber(TTarnXMEffect::PatternBreak);
constexpr std::uint8_t Extended = EffectNumber(TTarnXMEffect::Extended);
constexpr std::uint8_t LoopTwice = ExtendedParameter(TTarnXMExtendedEffect::PatternLoop, 1);

}  // namespace

TEST(SongTimer, CountsRowsAtTheirSpeedAndTempo) {
  TXmSong song = Song(2);
  song.Orders = {0, 1};
  song.Patterns[1].Cells[1] = {0, 0, 0, EffectNumber(TTarnXMEffect::SetSpeedTempo), 3};    // speed 3 from row 1 on
  song.Patterns[1].Cells[2] = {0, 0, 0, EffectNumber(TTarnXMEffect::SetSpeedTempo), 250};  // tempo 250 from row 2 on
  const TSongTiming timing = TimeSong(song);
  EXPECT_EQ(timing.Rows, 8);
  EXPECT_EQ(timing.Frames, 5 * Row125 + 3 * 882 + 2 * 3 * 441);
  EXPECT_DOUBLE_EQ(timing.Seconds, static_cast<double>(timing.Frames) / 44100.0);
}

TEST(SongTimer, FollowsBreaksAndJumpsAndEndsWhereTheSongWouldRepeat) {
  TXmSong song = Song(3);
  song.Orders = {0, 1, 2};
  song.Patterns[0].Cells[1] = {0, 0, 0, EffectNumber(TTarnXMEffect::PatternBreak), 2};  // to row 2 of order 1
  // Back to order 0: the song repeats.
  song.Patterns[1].Cells[3] = {0, 0, 0, EffectNumber(TTarnXMEffect::PositionJump), 0};
  EXPECT_EQ(TimeSong(song).Rows, 2 + 2);
  // A restart position does not end the song early: the order list runs out first.
  song = Song(2);
  song.Orders = {0, 1, 0};
  song.RestartPosition = 1;
  EXPECT_EQ(TimeSong(song).Rows, 12);
}

TEST(SongTimer, PlaysAPatternLoopsBodyOnceMoreThanItsCount) {
  TXmSong song = Song(1);
  song.Orders = {0};
  song.Patterns[0].Cells[1] = {0, 0, 0, Extended, ExtendedParameter(TTarnXMExtendedEffect::PatternLoop, 0)};
  song.Patterns[0].Cells[2] = {0, 0, 0, Extended, ExtendedParameter(TTarnXMExtendedEffect::PatternLoop, 2)};
  // Rows 1 and 2 three times over, rows 0 and 3 once.
  EXPECT_EQ(TimeSong(song).Rows, 2 + 3 * 2);
}

// Two channels, three orders of 40-row patterns; the effects sit on one row
// of the first pattern, channel 0 then channel 1.
struct TJumpCase {
  const char* What;
  int Row;
  TXmCell Left, Right;
  std::int64_t Rows;
};

const TJumpCase JumpCases[] = {
    {"a break's row is decimal: D32 is row 32", 0, {0, 0, 0, Break, 0x32}, {}, 1 + 8 + 40},
    {"a break past the last row starts the pattern", 0, {0, 0, 0, Break, 0x45}, {}, 1 + 40 + 40},
    {"a jump right of a break goes to row 0", 0, {0, 0, 0, Break, 0x10}, {0, 0, 0, Jump, 2}, 1 + 40},
    {"a break right of a jump sets its row", 0, {0, 0, 0, Jump, 2}, {0, 0, 0, Break, 0x10}, 1 + 30},
    {"a break wins over a loop on its row", 3, {0, 0, 0, Extended, LoopTwice}, {0, 0, 0, Break, 0}, 4 + 40 + 40},
    {"without the break the loop plays", 3, {0, 0, 0, Extended, LoopTwice}, {}, 8 + 36 + 40 + 40},
};

TEST(SongTimer, FollowsJumpsBreaksAndLoopsOnOneRowAsThePlayerDoes) {
  for (const TJumpCase& test : JumpCases) {
    TXmSong song;
    song.Channels = 2;
    song.Orders = {0, 1, 2};
    song.Patterns.assign(3, {"", 40, std::vector<TXmCell>(2 * 40)});
    song.Patterns[0].Cells[2 * test.Row] = test.Left;
    song.Patterns[0].Cells[2 * test.Row + 1] = test.Right;
    EXPECT_EQ(TimeSong(song).Rows, test.Rows) << test.What;
  }
}

TEST(SongTimer, TakesF20AsATempo) {
  TXmSong song = Song(1);
  song.Orders = {0};
  song.Patterns[0].Cells[0] = {0, 0, 0, EffectNumber(TTarnXMEffect::SetSpeedTempo), 0x20};
  // Four rows at speed 6 and 32 BPM, a tick of 2.5 / 32 s.
  EXPECT_EQ(TimeSong(song).Frames, 4 * 6 * (44100 * 25 / 320));
}

TEST(SongTimer, SkipsOrdersWithoutAPatternAndShortPatterns) {
  TXmSong song = Song(1);
  song.Orders = {0, 7, 0};
  song.Patterns[0] = {"", 4, std::vector<TXmCell>(2)};  // rows 2 and 3 hold no cells: they play empty
  EXPECT_EQ(TimeSong(song).Rows, 8);
}
