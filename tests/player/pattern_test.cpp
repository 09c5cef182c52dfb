#include "player/pattern.h"

#include <gtest/gtest.h>

namespace {

TTarnXMPatternNote Cell(int note) { return {note, 1, 2, 3, 4}; }

TEST(Pattern, ResizeKeepsTheCellsInsideBothSizes) {
  TTarnXMPattern pattern;
  pattern.SetSize(32, 8);
  for (int row = 0; row < 32; ++row)
    for (int channel = 0; channel < 8; ++channel) pattern.SetNote(row, channel, Cell(row * 8 + channel + 1));
  pattern.SetSize(64, 4);
  EXPECT_EQ(pattern.Rows, 64);
  EXPECT_EQ(pattern.Channels, 4);
  EXPECT_EQ(pattern.Notes.size(), 65u * 4);
  EXPECT_EQ(pattern.GetNote(31, 3), Cell(31 * 8 + 4));
  EXPECT_EQ(pattern.GetNote(0, 0), Cell(1));
  EXPECT_EQ(pattern.GetNote(32, 0), TTarnXMPatternNote());
  EXPECT_EQ(pattern.GetNote(64, 0), TTarnXMPatternNote());
  EXPECT_EQ(pattern.GetNote(70, 0), TTarnXMPatternNote());
}

TEST(Pattern, PositionsOutsideTheCellsReadEmptyAndIgnoreWrites) {
  TTarnXMPattern pattern;
  pattern.SetSize(4, 2);
  pattern.SetNote(0, 0, Cell(5));
  for (const auto& [row, channel] : {std::pair{-1, 0}, {0, -1}, {-1, 2}, {5, 0}, {0x7FFFFFFF, 0x7FFFFFFF}}) {
    pattern.SetNote(row, channel, Cell(9));
    EXPECT_EQ(pattern.GetNote(row, channel), TTarnXMPatternNote()) << row << "," << channel;
  }
  EXPECT_EQ(pattern.GetNote(0, 0), Cell(5));
}

TEST(Pattern, ZeroRowsOrTooManyRowsHoldNoCells) {
  TTarnXMPattern pattern;
  pattern.SetSize(64, 4);
  pattern.SetNote(1, 1, Cell(1));
  pattern.SetSize(0, 4);
  EXPECT_TRUE(pattern.Notes.empty());
  EXPECT_EQ(pattern.GetNote(1, 1), TTarnXMPatternNote());
  pattern.SetSize(TTarnXMPattern::MaxStoredRows + 1, 255);
  EXPECT_EQ(pattern.Rows, TTarnXMPattern::MaxStoredRows + 1);
  EXPECT_TRUE(pattern.Notes.empty());
}

}  // namespace
