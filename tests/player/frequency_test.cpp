// The frequency model in both modes: the reference note, round trips from
// notes to periods and back, and the guards at the ends of the ranges.
#include <gtest/gtest.h>

#include <cstdint>

#include "player/song.h"

namespace {

TEST(Frequency, TheReferenceNotePlaysAtItsRateInBothModes) {
  TTarnXMSong song;
  song.LinearFrequency = true;
  EXPECT_EQ(song.PeriodFromNote(48, 0), 4608);
  EXPECT_EQ(song.FrequencyFromPeriod(4608, 0), 8363);
  // One semitone is 64 units; a negative delta raises the pitch.
  EXPECT_EQ(song.PeriodFromNote(49, 0), 4544);
  EXPECT_EQ(song.FrequencyFromPeriod(4608, -768), 16726);
  EXPECT_EQ(song.PeriodFromNote(48, 127), 4608 - 63);
  EXPECT_EQ(song.PeriodFromNote(48, -127), 4608 + 63);

  song.LinearFrequency = false;
  EXPECT_EQ(song.PeriodFromNote(48, 0), 1712);
  EXPECT_EQ(song.FrequencyFromPeriod(1712, 0), 8363);
  // A positive delta lowers the pitch.
  EXPECT_EQ(song.FrequencyFromPeriod(1712, 1712), 8363 / 2);
}

TEST(Frequency, NoteFromPeriodFindsTheNoteOfEveryPeriodInBothModes) {
  TTarnXMSong song;
  for (const bool linear : {true, false}) {
    song.LinearFrequency = linear;
    for (const std::int32_t fineTune : {-128, -16, 0, 64, 127})
      for (std::int32_t note = 1; note <= 119; ++note) {
        const std::int32_t period = song.PeriodFromNote(note, fineTune);
        EXPECT_EQ(song.NoteFromPeriod(period, fineTune), note) << linear << " " << fineTune << " " << note;
        // A period just short of a note's belongs to the next note up.
        if (note < 119) {
          EXPECT_EQ(song.NoteFromPeriod(period - 1, fineTune), note + 1) << linear << " " << fineTune << " " << note;
        }
      }
    EXPECT_EQ(song.NoteFromPeriod(0, 0), 120);
  }
}

TEST(Frequency, NotesAreLimitedAndPeriodsNeverReachZero) {
  TTarnXMSong song;
  EXPECT_EQ(song.PeriodFromNote(0, 0), song.PeriodFromNote(1, 0));
  EXPECT_EQ(song.PeriodFromNote(500, 0), song.PeriodFromNote(132, 0));
  EXPECT_EQ(song.PeriodFromNote(132, 127), 1);
  song.LinearFrequency = false;
  EXPECT_EQ(song.PeriodFromNote(-7, 0), song.PeriodFromNote(1, 0));
  EXPECT_GT(song.PeriodFromNote(132, 127), 0);
}

TEST(Frequency, AmigaDeltaThatReachesThePeriodStandsForPeriodOne) {
  TTarnXMSong song;
  song.LinearFrequency = false;
  EXPECT_EQ(song.FrequencyFromPeriod(1, 0), 14317456);
  EXPECT_EQ(song.FrequencyFromPeriod(100, -100), 14317456);
  EXPECT_EQ(song.FrequencyFromPeriod(100, -5000), 14317456);
  EXPECT_EQ(song.FrequencyFromPeriod(27, -2147483647), 14317456);
}

TEST(Frequency, LinearRatesStayInRangeForAnyPeriod) {
  TTarnXMSong song;
  EXPECT_EQ(song.FrequencyFromPeriod(2147483647, 0), 0);
  EXPECT_EQ(song.FrequencyFromPeriod(-2147483647, -2147483647), 2147483647);
  EXPECT_EQ(song.FrequencyFromPeriod(4608 - 768, 0), 16726);
}

}  // namespace
