// Scripted key presses steer the scroller exactly as the same presses do when
// they reach the live intro as window messages between frames.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/fake_platform.h"
#include "platform/offscreen_context.h"
#include "scene/frame.h"
#include "scene/scroller.h"
#include "scene/scroller_text.h"
#include "shell/init_scene.h"
#include "shell/intro_hooks.h"
#include "shell/main_loop.h"
#include "shell/shell_state.h"
#include "tools/capture/frame_capture.h"

using namespace platform;

namespace {

constexpr int FramesPerSecond = 5;
constexpr std::size_t FrameTotal = 125;  // the scroller starts after 17 s, at frame 87

struct TScrollState {
  std::int32_t Time;
  std::int32_t TopLine;
  float Fraction;
  TScrollMode Mode;
  bool operator==(const TScrollState&) const = default;
};

// A key message sent between frames: down before frame Down, up before frame
// Up (after the frame Down when Up is Down + 1).
struct TLivePress {
  std::uint32_t Key;
  std::size_t Down;
  std::size_t Up;
};

const std::vector<TLivePress> Presses = {
    {VK_SPACE, 90, 91},  // pause
    {VK_SPACE, 94, 95},  // from pause to backwards
    {VK_DOWN, 98, 106},  // forwards, fast while held
    {VK_F5, 110, 116},   // hidden and frozen
    {VK_UP, 120, 121},   // backwards again
};

std::vector<TScrollState>* Recording = nullptr;
std::function<void()> AfterDraw;

void RecordingDrawScene(const TFrameInput& input) {
  DrawScene(input);
  Recording->push_back({input.SceneTime, TopLine, ScrollFraction, input.ScrollMode});
  if (AfterDraw) AfterDraw();
}

class ScriptedKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Context.Ok()) << Context.Error();
    SetPlatform(&Fake);
    IntroHooks() = TIntroHooks{InitScene, RecordingDrawScene, ShutdownScene};
  }
  void TearDown() override {
    RestoreIntroHooks();
    SetPlatform(nullptr);
    Recording = nullptr;
    AfterDraw = nullptr;
    ResetShellState();
    ScrollerLines.clear();
    LineCount = 0;
  }

  // The live intro on the recording fake: a steady clock, and each key
  // message posted after the frame before the one it is meant for.
  std::vector<TScrollState> RunLive() {
    std::vector<TScrollState> states;
    Recording = &states;
    ResetShellState();
    PrevSceneTime = 0;
    ScrollFraction = 0;
    Fake.Ticks = {7000};
    for (std::size_t n = 0; n < FrameTotal; ++n)
      Fake.Ticks.push_back(static_cast<std::uint32_t>(7000 + n * 1000 / FramesPerSecond));
    AfterDraw = [&] {
      const std::size_t next = states.size();
      for (const TLivePress& press : Presses) {
        if (press.Down == next) Fake.Queue.push_back({1, WM_KEYDOWN, press.Key, 0});
        if (press.Up == next) Fake.Queue.push_back({1, WM_KEYUP, press.Key, 0});
      }
      if (next == FrameTotal) Fake.Queue.push_back({0, WM_QUIT, 0, 0});
    };
    RunIntro();
    return states;
  }

  std::vector<TScrollState> RunCapture(const TKeyScript& script) {
    std::vector<TScrollState> states;
    Recording = &states;
    TFrameCapture capture(Context, FramesPerSecond, script);
    for (std::size_t n = 0; n < FrameTotal; ++n) capture.SkipFrame();
    return states;
  }

  TOffscreenContext Context{64, 48};
  TFakePlatform Fake;
};

TEST_F(ScriptedKeysTest, TheScrollerMovesFrameForFrameAsUnderLiveKeys) {
  const std::vector<TScrollState> live = RunLive();
  ASSERT_EQ(live.size(), FrameTotal);

  // The same presses as a script, at the scene times of the frames they fell on.
  std::vector<TKeyPress> presses;
  for (const TLivePress& press : Presses) {
    const std::int32_t time = live[press.Down].Time;
    presses.push_back({time, press.Key, press.Up == press.Down + 1 ? 0 : live[press.Up].Time - time});
  }
  const std::vector<TScrollState> scripted = RunCapture(TKeyScript(presses));
  ASSERT_EQ(scripted.size(), FrameTotal);
  for (std::size_t n = 0; n < FrameTotal; ++n) ASSERT_EQ(scripted[n], live[n]) << "frame " << n;

  // The keys did what they are for.
  const std::vector<TScrollState> unsteered = RunCapture({});
  EXPECT_NE(unsteered.back(), scripted.back());
  EXPECT_EQ(scripted[90].Mode, ScrollForward);
  EXPECT_EQ(scripted[91].Mode, ScrollPaused);
  EXPECT_EQ(scripted[93].TopLine, scripted[91].TopLine);
  EXPECT_EQ(scripted[93].Fraction, scripted[91].Fraction);
  EXPECT_EQ(scripted[95].Mode, ScrollBackward);
  EXPECT_EQ(scripted[99].Mode, ScrollForward);
  EXPECT_GT(scripted[105].TopLine - scripted[99].TopLine, unsteered[105].TopLine - unsteered[99].TopLine);
  EXPECT_EQ(scripted[115].TopLine, scripted[110].TopLine);
  EXPECT_EQ(scripted[115].Fraction, scripted[110].Fraction);
  EXPECT_EQ(scripted[121].Mode, ScrollBackward);
}

}  // namespace
