// The finished scene with its real logo, font and text, captured from a
// virtual clock and checked where the lines and the logo must be.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/fake_platform.h"
#include "platform/offscreen_context.h"
#include "scene/scroller.h"
#include "scene/scroller_text.h"
#include "shell/shell_state.h"
#include "tools/capture/frame_capture.h"

namespace {

constexpr int Width = 800;
constexpr int Height = 600;
// Few frames keep the software renderer quick; the checks read the scroll
// state that the frames left, whatever their rate.
constexpr int FramesPerSecond = 2;

class ScrollerFrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Context = std::make_unique<platform::TOffscreenContext>(Width, Height); }
  static void TearDownTestSuite() { Context.reset(); }

  void SetUp() override {
    ASSERT_TRUE(Context->Ok()) << Context->Error();
    platform::SetPlatform(&Fake);
    Keys.fill(false);
  }

  // The tests beside these start from a fresh process's shell and text.
  void TearDown() override {
    platform::SetPlatform(nullptr);
    ResetShellState();
    ScrollerLines.clear();
    LineCount = 0;
  }

  // Screen column and row of a point of the text plane (eye depth 2.5).
  static double TextColumn(double x) { return Width / 2.0 * (1.0 + x / (2.5 * HalfHeight() * Width / Height)); }
  static double TextRow(double y) { return Height / 2.0 * (1.0 - y / (2.5 * HalfHeight())); }
  static double HalfHeight() { return std::tan(22.5 * std::acos(-1.0) / 180.0); }

  // Pixels in a box that are as bright as the glyphs' upper parts and nothing
  // else in the scene is.
  static int Lit(const TCapturedFrame& frame, double left, double top, double right, double bottom) {
    int lit = 0;
    for (int y = std::max(0, static_cast<int>(top)); y < std::min(Height, static_cast<int>(bottom)); ++y)
      for (int x = std::max(0, static_cast<int>(left)); x < std::min(Width, static_cast<int>(right)); ++x) {
        const std::uint8_t* p = frame.Pixels.data() + (static_cast<std::size_t>(y) * Width + x) * 3;
        lit += p[0] > 150 && p[1] > 150;
      }
    return lit;
  }

  static inline std::unique_ptr<platform::TOffscreenContext> Context;
  platform::TFakePlatform Fake;
};

// Below the logo band, which ends near row 190.
constexpr double FirstFreeRow = 200;

TEST_F(ScrollerFrameTest, AtTwentySecondsEachSlotShowsItsLineAndTheBandShowsTheLogo) {
  TFrameCapture capture(*Context, FramesPerSecond);
  const TCapturedFrame frame = capture.CaptureAt(20000);
  EXPECT_TRUE(Fake.MessageBoxes.empty());
  ASSERT_GT(LineCount, 0);

  int linesSeen = 0;
  for (int slot = 0; slot <= 40; ++slot) {
    const double bottom = 0.5 - (static_cast<double>(slot) - ScrollFraction) * 0.04;
    const double top = TextRow(bottom + 0.03);
    const double base = TextRow(bottom + 0.01);
    if (top < FirstFreeRow || base > Height) continue;
    const std::int64_t line = std::int64_t{TopLine} + slot;
    const bool shown = line >= 0 && line < LineCount;
    const std::string text = shown ? ScrollerLines[static_cast<std::size_t>(line)] : "";
    const std::size_t first = text.find_first_not_of(' ');
    SCOPED_TRACE("slot " + std::to_string(slot) + ": \"" + text + "\"");
    if (first == std::string::npos) {
      EXPECT_EQ(Lit(frame, 0, top, Width, base), 0);
      continue;
    }
    const double left = TextColumn(-1.2 + 0.03 * static_cast<double>(first));
    const double right = TextColumn(-1.2 + 0.03 * static_cast<double>(text.size()));
    EXPECT_GT(Lit(frame, left, top, right, base), 10);
    EXPECT_EQ(Lit(frame, 0, top, left - 4, base), 0);
    EXPECT_EQ(Lit(frame, right + 4, top, Width, base), 0);
    ++linesSeen;
  }
  EXPECT_GE(linesSeen, 4);

  // The band at the top: black at its ends, the title's chrome in the middle.
  EXPECT_EQ(Lit(frame, 0, 0, 60, 185), 0);
  EXPECT_EQ(Lit(frame, 740, 0, Width, 185), 0);
  EXPECT_GT(Lit(frame, 120, 20, 680, 170), 2000);
}

TEST_F(ScrollerFrameTest, HoldingF5HidesTheTextAndFreezesItUntilReleased) {
  TFrameCapture capture(*Context, FramesPerSecond);
  capture.CaptureAt(20000);
  const std::int32_t topLine = TopLine;
  const float fraction = ScrollFraction;
  Keys[platform::VK_F5] = true;
  const TCapturedFrame hidden = capture.CaptureAt(22000);
  EXPECT_EQ(TopLine, topLine);
  EXPECT_EQ(ScrollFraction, fraction);
  EXPECT_EQ(Lit(hidden, 0, FirstFreeRow, Width, Height), 0);
  Keys[platform::VK_F5] = false;
  capture.CaptureAt(22500);
  EXPECT_NE(TopLine, topLine);
}

}  // namespace
