// The input the shell hands the scene each frame: its clock, the three keys
// the scene reads, the scroll mode and what the start-up made.
#include <gtest/gtest.h>

#include <array>

#include "tests/shell/shell_fixture.h"

using namespace platform;

namespace {

std::array<bool, 3> SceneKeys() {
  const TFrameInput input = FrameInput();
  return {input.Keys.F5, input.Keys.Up, input.Keys.Down};
}

std::array<std::uint32_t, 4> Handles(const TFrameInput& input) {
  return {input.LogoTexture, input.FontTexture, input.GeneratedTexture, input.MeshList};
}

TEST_F(ShellTest, TheFrameInputCarriesTheKeysTheSceneReadsAndNoOthers) {
  Keys[VK_SPACE] = Keys[VK_ESCAPE] = Keys['A'] = true;
  EXPECT_EQ(SceneKeys(), (std::array{false, false, false}));
  const std::pair<std::uint32_t, std::array<bool, 3>> cases[] = {
      {VK_F5, {true, false, false}}, {VK_UP, {false, true, false}}, {VK_DOWN, {false, false, true}}};
  for (const auto& [key, expected] : cases) {
    Keys[key] = true;
    EXPECT_EQ(SceneKeys(), expected) << key;
    Keys[key] = false;
  }
}

TEST_F(ShellTest, TheFrameInputCarriesTheClockTheScrollModeAndWhatTheStartUpMade) {
  SceneTime = 17123;
  ScrollMode = ScrollPaused;
  LogoTexture = 1;
  FontTexture = 2;
  GeneratedTexture = 3;
  MeshList = 4;
  const TFrameInput input = FrameInput();
  EXPECT_EQ(input.SceneTime, 17123);
  EXPECT_EQ(input.ScrollMode, ScrollPaused);
  EXPECT_EQ(Handles(input), (std::array{1u, 2u, 3u, 4u}));
  ResetShellState();
  EXPECT_EQ(Handles(FrameInput()), (std::array{0u, 0u, 0u, 0u}));
}

}  // namespace
