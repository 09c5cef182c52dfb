// The frequency model in both modes: the reference note, round trips from
// notes to periods and back, and the guards at the ends of the ranges.
#include <gtest/gtest.h>

#include <cstdint>

#include "player/module.h"

namespace {

TEST(Frequency, TheReferenceNotePlaysAtItsRateInBothModes) {
  TTarnXMModule module;
  module.LinearFrequency = true;
  EXPECT_EQ(module.PeriodFromNote(48, 0), 4608);
  EXPECT_EQ(module.FrequencyFromPeriod(4608, 0), 8363);
  // One semitone is 64 units; a positive delta raises the pitch.
  EXPECT_EQ(module.PeriodFromNote(49, 0), 4544);
  EXPECT_EQ(module.FrequencyFromPeriod(4608, 768), 16726);
  EXPECT_EQ(module.PeriodFromNote(48, 127), 4608 - 63);
  EXPECT_EQ(module.PeriodFromNote(48, -127), 4608 + 63);

  module.LinearFrequency = false;
  EXPECT_EQ(module.PeriodFromNote(48, 0), 1813);
  EXPECT_EQ(module.FrequencyFromPeriod(1813, 0), 8369);
  // A positive delta lowers the pitch.
  EXPECT_EQ(module.FrequencyFromPeriod(1813, 1813), 15173456 / 3626);
}

TEST(Frequency, NoteFromPeriodFindsTheNoteOfEveryPeriodInBothModes) {
  TTarnXMModule module;
  for (const bool linear : {true, false}) {
    module.LinearFrequency = linear;
    for (const std::int32_t fineTune : {-128, -16, 0, 64, 127})
      for (std::int32_t note = 1; note <= 119; ++note) {
        const std::int32_t period = module.PeriodFromNote(note, fineTune);
        EXPECT_EQ(module.NoteFromPeriod(period, fineTune), note) << linear << " " << fineTune << " " << note;
        // A period just short of a note's belongs to the next note up.
        if (note < 119) {
          EXPECT_EQ(module.NoteFromPeriod(period - 1, fineTune), note + 1) << linear << " " << fineTune << " " << note;
        }
      }
    EXPECT_EQ(module.NoteFromPeriod(0, 0), 120);
  }
}

TEST(Frequency, NotesAreLimitedAndPeriodsNeverReachZero) {
  TTarnXMModule module;
  EXPECT_EQ(module.PeriodFromNote(0, 0), module.PeriodFromNote(1, 0));
  EXPECT_EQ(module.PeriodFromNote(500, 0), module.PeriodFromNote(132, 0));
  EXPECT_EQ(module.PeriodFromNote(132, 127), 1);
  module.LinearFrequency = false;
  EXPECT_EQ(module.PeriodFromNote(-7, 0), module.PeriodFromNote(1, 0));
  EXPECT_GT(module.PeriodFromNote(132, 127), 0);
}

TEST(Frequency, AmigaDeltaThatReachesThePeriodStandsForPeriodOne) {
  TTarnXMModule module;
  module.LinearFrequency = false;
  EXPECT_EQ(module.FrequencyFromPeriod(1, 0), 15173456);
  EXPECT_EQ(module.FrequencyFromPeriod(100, -100), 15173456);
  EXPECT_EQ(module.FrequencyFromPeriod(100, -5000), 15173456);
  EXPECT_EQ(module.FrequencyFromPeriod(27, -2147483647), 15173456);
}

TEST(Frequency, LinearRatesStayInRangeForAnyPeriod) {
  TTarnXMModule module;
  EXPECT_EQ(module.FrequencyFromPeriod(2147483647, 0), 0);
  EXPECT_EQ(module.FrequencyFromPeriod(-2147483647, 2147483647), 2147483647);
  EXPECT_EQ(module.FrequencyFromPeriod(4608 - 768, 0), 16726);
}

}  // namespace
