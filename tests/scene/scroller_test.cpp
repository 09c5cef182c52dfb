#include "scene/scroller.h"

#include <gtest/gtest.h>

#include "scene/scroller_text.h"

namespace {

class ScrollerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Input.ScrollMode = ScrollForward;
    LineCount = 32;
    TopLine = 0;
    ScrollFraction = 0.0f;
  }
  void TearDown() override {
    LineCount = 0;
    TopLine = -40;
    ScrollFraction = 0.0f;
  }

  TFrameInput Input;
};

TEST_F(ScrollerTest, ForwardsTheLastLineLeavingRestartsTheTextInSlot38) {
  TopLine = 31;
  ScrollFraction = 0.9f;
  AdvanceScroll(Input, 0.04f);  // 0.2 of a line
  EXPECT_EQ(TopLine, -38);
  EXPECT_NEAR(ScrollFraction, 0.1f, 1e-6);
}

TEST_F(ScrollerTest, ForwardsAFractionOfExactlyOneStays) {
  ScrollFraction = 0.375f;
  AdvanceScroll(Input, 0.125f);
  EXPECT_EQ(ScrollFraction, 1.0f);
  EXPECT_EQ(TopLine, 0);
}

TEST_F(ScrollerTest, BackwardsBelowSlotMinus40TheLastLineComesInAtTheTop) {
  Input.ScrollMode = ScrollBackward;
  TopLine = -40;
  ScrollFraction = 0.1f;
  AdvanceScroll(Input, 0.1f);  // 0.3 of a line
  EXPECT_EQ(TopLine, 32);
  EXPECT_NEAR(ScrollFraction, 0.8f, 1e-6);
  AdvanceScroll(Input, 0.0f);
  EXPECT_EQ(TopLine, 32);
}

TEST_F(ScrollerTest, ALongFrameMovesSeveralLinesWrappingOnTheWay) {
  TopLine = 30;
  AdvanceScroll(Input, 1.5f);  // 7.5 lines: 31, 32 -> -38, -37 ... -33
  EXPECT_EQ(TopLine, -33);
  EXPECT_FLOAT_EQ(ScrollFraction, 0.5f);

  Input.ScrollMode = ScrollBackward;
  TopLine = -38;
  ScrollFraction = 0.5f;
  AdvanceScroll(Input, 1.5f);  // 4.5 lines back to a fraction of 0: -39, -40, -41 -> 32, 31
  EXPECT_EQ(TopLine, 31);
  EXPECT_FLOAT_EQ(ScrollFraction, 0.0f);
}

TEST_F(ScrollerTest, PausedTheTextStandsStill) {
  Input.ScrollMode = ScrollPaused;
  TopLine = 5;
  ScrollFraction = 0.25f;
  Input.Keys.Down = true;
  AdvanceScroll(Input, 3.0f);
  EXPECT_EQ(TopLine, 5);
  EXPECT_EQ(ScrollFraction, 0.25f);
}

TEST_F(ScrollerTest, UpAndDownSpeedUpOnlyTheirOwnDirection) {
  AdvanceScroll(Input, 0.04f);
  EXPECT_NEAR(ScrollFraction, 0.2f, 1e-6);  // 5 lines per step
  Input.Keys.Down = true;
  AdvanceScroll(Input, 0.04f);
  EXPECT_NEAR(ScrollFraction, 0.8f, 1e-6);  // 15
  Input.Keys.Down = false;
  Input.Keys.Up = true;
  AdvanceScroll(Input, 0.02f);
  EXPECT_NEAR(ScrollFraction, 0.9f, 1e-6);  // Up held, but forwards: 5

  Input.ScrollMode = ScrollBackward;
  AdvanceScroll(Input, 0.02f);
  EXPECT_NEAR(ScrollFraction, 0.6f, 1e-6);  // 15
  Input.Keys.Up = false;
  Input.Keys.Down = true;
  AdvanceScroll(Input, 0.1f);
  EXPECT_NEAR(ScrollFraction, 0.3f, 1e-6);  // Down held, but backwards: 3
}

// A clock that jumped by weeks gives steps whose line counts a float cannot
// count down by ones; the update must still end.
TEST_F(ScrollerTest, AnAbsurdStepStillEnds) {
  AdvanceScroll(Input, 1.0e7f);
  EXPECT_GE(ScrollFraction, 0.0f);
  EXPECT_LE(ScrollFraction, 1.0f);
  Input.ScrollMode = ScrollBackward;
  AdvanceScroll(Input, 1.0e7f);
  EXPECT_GE(ScrollFraction, 0.0f);
  EXPECT_LE(ScrollFraction, 1.0f);
}

}  // namespace
