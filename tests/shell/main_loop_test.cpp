#include <gtest/gtest.h>

#include "shell/main_loop.h"
#include "shell/window_proc.h"
#include "tests/shell/shell_fixture.h"

using namespace platform;
using Strings = std::vector<std::string>;

namespace {

// The recorded calls between creation and teardown, without the window set-up.
Strings LoopCalls(const Strings& calls) {
  auto begin = std::find(calls.begin(), calls.end(), "InitScene");
  auto end = std::find(calls.begin(), calls.end(), "ShutdownScene");
  return {begin + 1, end};
}

}  // namespace

TEST_F(ShellTest, OneMessagePerPassAndFramesOnlyOnAnEmptyQueue) {
  Post(Fake, WM_KEYDOWN, 'A');
  Post(Fake, WM_KEYUP, 'A');
  std::vector<std::size_t> queuedAtDraw;
  OnDraw = [&] {
    queuedAtDraw.push_back(Fake.Queue.size());
    if (DrawnTimes.size() == 1) Post(Fake, WM_KEYDOWN, 'B');
    if (DrawnTimes.size() == 2) Post(Fake, WM_KEYDOWN, VK_ESCAPE);
  };
  // The last message read was Escape's key-down.
  EXPECT_EQ(RunIntro(), TWParam{VK_ESCAPE});
  EXPECT_EQ(queuedAtDraw, (std::vector<std::size_t>{0, 0, 0}));
  EXPECT_TRUE(Keys['B']);
}

TEST_F(ShellTest, EscapeEndsAfterTheSwapWithoutAnotherHandleKeys) {
  Fake.OnEmptyQueue = [] {
    Keys[VK_ESCAPE] = true;
    Keys[VK_SPACE] = true;
  };
  ScrollMode = ScrollForward;
  RunIntro();
  EXPECT_EQ(LoopCalls(Fake.Calls), (Strings{"DrawScene", "SwapBuffers"}));
  EXPECT_TRUE(Keys[VK_SPACE]);
  EXPECT_EQ(ScrollMode, ScrollForward);
}

TEST_F(ShellTest, ResultIsTheLastMessagesWParamOrZero) {
  Post(Fake, WM_KEYDOWN, 'Q');
  Fake.Queue.push_back({0, WM_QUIT, 7, 0});
  EXPECT_EQ(RunIntro(), 7u);

  Fake.Calls.clear();
  ResetShellState();
  Fake.OnEmptyQueue = [] { Keys[VK_ESCAPE] = true; };
  EXPECT_EQ(RunIntro(), 0u);
}

TEST_F(ShellTest, CloseQuitsThroughThePostedQuitMessage) {
  Post(Fake, WM_CLOSE);
  EXPECT_EQ(RunIntro(), 0u);
  EXPECT_TRUE(Fake.Called("PostQuitMessage"));
  EXPECT_EQ(std::count(Fake.Calls.begin(), Fake.Calls.end(), "DrawScene"), 0);
}

TEST_F(ShellTest, SceneTimeMovesHalfwayTowardsTheClockAndSpreadsAStall) {
  // Start at tick 5000; frames at elapsed 16, 32, 48, then a stall to 1048, then steady.
  Fake.Ticks = {5000, 5016, 5032, 5048, 6048, 6064, 6080, 6096};
  Fake.OnEmptyQueue = [this] {
    if (DrawnTimes.size() == 6) Keys[VK_ESCAPE] = true;
  };
  RunIntro();
  EXPECT_EQ(DrawnTimes, (std::vector<std::int32_t>{8, 20, 34, 541, 802, 941, 1018}));
}

TEST_F(ShellTest, TheClockNeverOverflowsAfterWeeksOfUptime) {
  EXPECT_EQ(SmoothSceneTime(0x7FFFFFF0, 0x7FFFFFFF), 0x7FFFFFF7);
  EXPECT_EQ(SmoothSceneTime(-3, 0), -1);  // the division truncates towards zero
  // The tick counter wraps; the unsigned difference keeps elapsed right.
  Fake.Ticks = {0xFFFFFFF0u, 0x00000010u};
  Fake.OnEmptyQueue = [] { Keys[VK_ESCAPE] = true; };
  RunIntro();
  EXPECT_EQ(DrawnTimes, (std::vector<std::int32_t>{16}));
}

TEST_F(ShellTest, TimerOneWritesTheFrameRateIntoTheTitle) {
  FrameCount = 57;
  EXPECT_EQ(WindowProc(1, WM_TIMER, 1, 0), 0);
  EXPECT_EQ(Fake.Title, "DRIFTLOW   [57 FPS]");
  EXPECT_EQ(FrameCount, 0);

  FrameCount = 12;
  EXPECT_EQ(WindowProc(1, WM_TIMER, 2, 0), 0);
  EXPECT_EQ(Fake.Title, "DRIFTLOW   [57 FPS]");
  EXPECT_EQ(FrameCount, 12);
  EXPECT_EQ(FrameRateTitle(0), "DRIFTLOW   [0 FPS]");
}

TEST_F(ShellTest, TheTitleCountsTheFramesOfTheLoop) {
  OnDraw = [this] {
    if (DrawnTimes.size() == 3) Post(Fake, WM_TIMER, 1);
    if (DrawnTimes.size() == 4) Keys[VK_ESCAPE] = true;
  };
  RunIntro();
  EXPECT_EQ(Fake.Title, "DRIFTLOW   [3 FPS]");
  EXPECT_EQ(FrameCount, 1);
}

TEST_F(ShellTest, KeyMessagesSetAndClearTheKeyTableAndIgnoreCodesAbove255) {
  EXPECT_EQ(WindowProc(1, WM_KEYDOWN, VK_UP, 0), 0);
  EXPECT_TRUE(Keys[VK_UP]);
  EXPECT_EQ(WindowProc(1, WM_KEYUP, VK_UP, 0), 0);
  EXPECT_FALSE(Keys[VK_UP]);
  EXPECT_EQ(WindowProc(1, WM_KEYDOWN, 256 + VK_UP, 0), 0);
  EXPECT_EQ(WindowProc(1, WM_KEYDOWN, ~TWParam{0}, 0), 0);
  EXPECT_EQ(std::count(Keys.begin(), Keys.end(), true), 0);
  EXPECT_EQ(WindowProc(1, 0x0400, 0, 0), 0);
  EXPECT_TRUE(Fake.Called("DefWindowProc"));
}

TEST_F(ShellTest, SpaceTogglesOncePerKeyDownAndWinsOverUpAndDown) {
  ScrollMode = ScrollForward;
  Keys[VK_SPACE] = Keys[VK_UP] = Keys[VK_DOWN] = true;
  HandleKeys();
  EXPECT_EQ(ScrollMode, ScrollPaused);
  EXPECT_FALSE(Keys[VK_SPACE]);
  Keys[VK_SPACE] = true;
  HandleKeys();
  EXPECT_EQ(ScrollMode, ScrollBackward);
  // Auto-repeat: each key-down toggles again.
  Keys[VK_SPACE] = true;
  HandleKeys();
  EXPECT_EQ(ScrollMode, ScrollPaused);
  HandleKeys();  // Space released, Up held: Up wins over Down
  EXPECT_EQ(ScrollMode, ScrollBackward);
  Keys[VK_UP] = false;
  HandleKeys();
  EXPECT_EQ(ScrollMode, ScrollForward);
  Keys[VK_DOWN] = false;
  HandleKeys();
  EXPECT_EQ(ScrollMode, ScrollForward);
}
