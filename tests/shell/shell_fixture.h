#pragma once
// Runs the shell against the recording fake, with counters in place of the
// scene's start-up, frame and shutdown.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/fake_platform.h"
#include "scene/frame.h"
#include "shell/intro_hooks.h"
#include "shell/shell_state.h"

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetShellState();
    PrevSceneTime = 0;
    Current = this;
    platform::SetPlatform(&Fake);
    IntroHooks() = TIntroHooks{[] {
                                 Current->Fake.Calls.push_back("InitScene");
                                 return true;
                               },
                               [](const TFrameInput& input) {
                                 Current->Fake.Calls.push_back("DrawScene");
                                 Current->DrawnTimes.push_back(input.SceneTime);
                                 if (Current->OnDraw) Current->OnDraw();
                               },
                               [] { Current->Fake.Calls.push_back("ShutdownScene"); }};
  }

  void TearDown() override {
    RestoreIntroHooks();
    platform::SetPlatform(nullptr);
    ResetShellState();
    Current = nullptr;
  }

  // The recorded calls from the first one named `from` on.
  std::vector<std::string> CallsFrom(const std::string& from) const {
    auto begin = std::find(Fake.Calls.begin(), Fake.Calls.end(), from);
    return {begin, Fake.Calls.end()};
  }

  static void Post(platform::TFakePlatform& fake, std::uint32_t message, platform::TWParam wParam = 0) {
    fake.Queue.push_back({1, message, wParam, 0});
  }

  platform::TFakePlatform Fake;
  std::vector<std::int32_t> DrawnTimes;
  std::function<void()> OnDraw;
  static inline ShellTest* Current = nullptr;
};
