// The intro's music from start-up to shutdown: played through the device
// with the intro's settings, silent without its module or without a device,
// and stopped and freed at the end in every case.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/fake_platform.h"
#include "platform/offscreen_context.h"
#include "platform/resources.h"
#include "platform/wave_out.h"
#include "player/output/player.h"
#include "scene/scroller_text.h"
#include "shell/init_scene.h"
#include "shell/intro_hooks.h"
#include "shell/main_loop.h"
#include "shell/shell_state.h"

using namespace platform;

namespace {

class IntroMusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Context.Ok()) << Context.Error();
    SetPlatform(&Fake);
    RestoreIntroHooks();
    SetWaveOutFactory([this] { return CreateWavFileWaveOut(WavPath.string()); });
  }
  void TearDown() override {
    SetWaveOutFactory(nullptr);
    SetResources(nullptr);
    SetPlatform(nullptr);
    ResetShellState();
    ScrollerLines.clear();
    LineCount = 0;
    std::filesystem::remove(WavPath);
  }

  // The whole intro for a few frames, ended by Escape; what the player was
  // like during the frames.
  void RunFrames() {
    int frames = 0;
    Fake.OnEmptyQueue = [&] {
      if (++frames < 4) return;
      // Time for the output thread's first refill.
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      Keys[VK_ESCAPE] = true;
      ASSERT_TRUE(Player);
      Loaded = Player->Renderer.Song() != nullptr;
      Opened = Player->OpenResult == MMSYSERR_NOERROR;
      Rate = Player->SampleRate;
      BufferSamples = Player->BufferSamples;
      Channels = Player->OutputChannels;
      const TTarnXMRenderOptions& options = Player->Renderer.Options();
      Interpolation = options.Interpolation;
      Clipping = options.Clipping;
      MasterVolume = options.MasterVolume;
    };
    RunIntro();
  }

  // The bytes of sound the device was given.
  std::size_t PlayedBytes() const {
    std::ifstream file(WavPath, std::ios::binary);
    const std::vector<char> wav{std::istreambuf_iterator<char>(file), {}};
    return wav.size() > 44 ? wav.size() - 44 : 0;
  }

  TOffscreenContext Context{320, 240};
  TFakePlatform Fake;
  const std::filesystem::path WavPath =
      std::filesystem::temp_directory_path() / ("driftlow-intro-music-" + std::to_string(::getpid()));
  bool Loaded = false, Opened = false, Clipping = false;
  std::int32_t Rate = 0, BufferSamples = 0, Channels = 0, MasterVolume = 0;
  TTarnXMInterpolation Interpolation = TTarnXMInterpolation::None;
};

TEST_F(IntroMusicTest, PlaysTheModuleWithTheIntrosSettingsAndFreesThePlayerAtTheEnd) {
  RunFrames();
  EXPECT_TRUE(Loaded);
  EXPECT_TRUE(Opened);
  EXPECT_EQ(Rate, 44100);
  EXPECT_EQ(BufferSamples, 2048);
  EXPECT_EQ(Channels, 2);
  EXPECT_EQ(Interpolation, TTarnXMInterpolation::Sinc);
  EXPECT_TRUE(Clipping);
  EXPECT_EQ(MasterVolume, 128);
  EXPECT_FALSE(Player);
  EXPECT_GE(PlayedBytes(), 4u * 8192u);
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

TEST_F(IntroMusicTest, WithoutTheModuleTheIntroRunsSilentAndEndsCleanly) {
  TResourceSet withoutMusic;
  for (const TResource& resource : EmbeddedResources())
    if (resource.Name != "MSX") withoutMusic.push_back(resource);
  ASSERT_EQ(withoutMusic.size() + 1, EmbeddedResources().size());
  SetResources(&withoutMusic);
  RunFrames();
  EXPECT_FALSE(Loaded);
  EXPECT_TRUE(Opened);
  EXPECT_FALSE(Player);
  EXPECT_EQ(PlayedBytes(), 0u);
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

TEST_F(IntroMusicTest, WithoutADeviceTheIntroRunsSilentAndEndsCleanly) {
  SetWaveOutFactory(CreateNullWaveOut);
  RunFrames();
  EXPECT_TRUE(Loaded);
  EXPECT_FALSE(Opened);
  EXPECT_FALSE(Player);
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

}  // namespace
