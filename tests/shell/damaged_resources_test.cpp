// The intro on damaged resources: a picture that fails says so and leaves
// its texture out, the rest of the start-up goes on and every frame is drawn;
// music that fails to load stays silent.
#include <gtest/gtest.h>

#include <random>

#include "platform/fake_platform.h"
#include "platform/offscreen_context.h"
#include "platform/resources.h"
#include "platform/wave_out.h"
#include "player/output/player.h"
#include "scene/scroller_text.h"
#include "shell/intro_hooks.h"
#include "shell/shell_state.h"
#include "tools/capture/frame_capture.h"

namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t count) {
  std::mt19937 random(11);
  std::vector<std::uint8_t> bytes(count);
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

class DamagedResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetPlatform(&Fake);
    platform::SetResources(&Damaged);
    RestoreIntroHooks();
  }
  void TearDown() override {
    platform::SetResources(nullptr);
    platform::SetPlatform(nullptr);
    ResetShellState();
    ScrollerLines.clear();
    LineCount = 0;
  }

  platform::TFakePlatform Fake;
  const std::vector<std::uint8_t> Noise = RandomBytes(5000);
  const std::vector<std::uint8_t> Text{1, 0, 0, 0, 2, 'h', 'i'};
  // The logo is noise, the font is missing, the music is noise.
  const platform::TResourceSet Damaged{{"LOGO", "JPEG", Noise}, {"TEXT", "TEXT", Text}, {"MSX", "#10", Noise}};
};

TEST_F(DamagedResourcesTest, PicturesThatFailAreLeftOutAndTheFramesGoOn) {
  platform::TOffscreenContext context(320, 240);
  ASSERT_TRUE(context.Ok()) << context.Error();
  {
    TFrameCapture capture(context, 2);
    EXPECT_EQ(LogoTexture, 0u);
    EXPECT_EQ(FontTexture, 0u);
    EXPECT_NE(GeneratedTexture, 0u);
    EXPECT_NE(MeshList, 0u);
    EXPECT_EQ(ScrollerLines, std::vector<std::string>{"hi"});
    for (const std::int32_t time : {500, 6000, 20000}) EXPECT_EQ(capture.CaptureAt(time).Time, time);
  }
  EXPECT_EQ(Fake.MessageBoxes, (std::vector<std::string>{"BMP Unit: Couldn't load JPG Resource - \"logo.jpg\"",
                                                         "BMP Texture: File not found in resource - font.bmp"}));
}

TEST_F(DamagedResourcesTest, MusicThatFailsToLoadIsSilent) {
  platform::SetWaveOutFactory(platform::CreateNullWaveOut);
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
  platform::SetWaveOutFactory(nullptr);
  EXPECT_FALSE(player->LoadFromResource("msx", "#10"));
  EXPECT_FALSE(player->Renderer.Song());
  EXPECT_FALSE(player->Play());
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

}  // namespace
