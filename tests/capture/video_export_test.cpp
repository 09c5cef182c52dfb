// The intro as a video: the same span twice gives the same frames and sound,
// the sound is the music rendered offline, every frame is the still capture
// for its scene time, and without ffmpeg the frames and the music still come.
#include "tools/capture/video_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/offscreen_context.h"
#include "platform/wave_out.h"
#include "player/output/player.h"
#include "shell/main_loop.h"
#include "tests/capture/ffmpeg_decode.h"
#include "tools/capture/frame_capture.h"
#include "tools/video_file/pipe_process.h"

namespace {

namespace fs = std::filesystem;

constexpr int Width = 160;
constexpr int Height = 120;
// Few frames: the software renderer draws the mesh's smoothed lines slowly.
constexpr int FramesPerSecond = 5;
// Two seconds from 17.2 s: the scroller runs, a pause and a fast stretch on the keys.
constexpr std::int64_t FirstFrame = 86;
constexpr std::int64_t Frames = 10;
constexpr std::size_t FrameBytes = std::size_t{Width} * Height * 3;
const char* KeyText = "17800:space,18400:space,18600:down-hold-500";

TKeyScript Keys() {
  TKeyScript keys;
  std::string error;
  EXPECT_TRUE(TKeyScript::Parse(KeyText, keys, error)) << error;
  return keys;
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

class VideoExportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Folder = fs::temp_directory_path() / ("driftlow-capture-test-" + std::to_string(getpid()));
    fs::create_directories(Folder);
    Ffmpeg = FindProgram("ffmpeg");
  }
  static void TearDownTestSuite() {
    First.reset();
    fs::remove_all(Folder);
  }
  void SetUp() override { ASSERT_FALSE(Ffmpeg.empty()) << "the video tests need ffmpeg: scripts/install-deps test"; }

  // The span exported once and decoded, for the tests that look into it (each
  // test may run in a process of its own).
  static void ExportFirst() {
    if (!First) {
      First = std::make_unique<TVideoResult>(ExportVideo(Options("first.mkv"), [](std::int64_t) {}));
      FirstFrames = DecodeFrames(Path("first.mkv"));
      FirstSound = DecodeSound(Path("first.mkv"));
    }
    ASSERT_TRUE(First->Error.empty()) << First->Error;
  }

  static std::string Path(const std::string& name) { return (Folder / name).string(); }

  static TVideoOptions Options(const std::string& name) {
    TVideoOptions options;
    options.Path = Path(name);
    options.Ffmpeg = Ffmpeg;
    options.FramesPerSecond = FramesPerSecond;
    options.FirstFrame = FirstFrame;
    options.Frames = Frames;
    options.Width = Width;
    options.Height = Height;
    options.Keys = Keys();
    return options;
  }

  static std::int64_t SoundFrames() {
    return SampleFramesBefore(FirstFrame + Frames, FramesPerSecond) - SampleFramesBefore(FirstFrame, FramesPerSecond);
  }

  static inline fs::path Folder;
  static inline std::string Ffmpeg;
  static inline std::unique_ptr<TVideoResult> First;
  static inline std::vector<std::uint8_t> FirstFrames;
  static inline std::vector<std::uint8_t> FirstSound;
};

TEST_F(VideoExportTest, TheSameSpanTwiceGivesTheSameFramesAndSamples) {
  ASSERT_NO_FATAL_FAILURE(ExportFirst());
  EXPECT_EQ(First->Frames, Frames);
  ASSERT_EQ(FirstFrames.size(), Frames * FrameBytes);
  ASSERT_EQ(FirstSound.size(), static_cast<std::size_t>(SoundFrames()) * 4);
  EXPECT_EQ(SoundFrames(), 88200);

  const TVideoResult second = ExportVideo(Options("second.mkv"), [](std::int64_t) {});
  ASSERT_TRUE(second.Error.empty()) << second.Error;
  EXPECT_TRUE(DecodeFrames(Path("second.mkv")) == FirstFrames);
  EXPECT_TRUE(DecodeSound(Path("second.mkv")) == FirstSound);
}

TEST_F(VideoExportTest, TheSoundIsTheIntrosMusicRenderedOffline) {
  ASSERT_NO_FATAL_FAILURE(ExportFirst());
  // The player as the intro sets it up, rendering its buffers without a device.
  platform::SetWaveOutFactory(platform::CreateNullWaveOut);
  std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
  platform::SetWaveOutFactory(nullptr);
  player->Renderer.SetInterpolation(TTarnXMInterpolation::Sinc);
  player->Renderer.SetClipping(true);
  player->Renderer.SetMasterVolume(128);
  ASSERT_TRUE(player->LoadFromResource("msx", "#10"));
  const std::size_t end = static_cast<std::size_t>(SampleFramesBefore(FirstFrame + Frames, FramesPerSecond)) * 2;
  std::vector<std::int16_t> render;
  std::vector<std::int16_t> buffer(2 * 2048);
  while (render.size() < end) {
    player->RenderBuffer(buffer.data());
    render.insert(render.end(), buffer.begin(), buffer.end());
  }
  render.erase(render.begin() + static_cast<std::ptrdiff_t>(end), render.end());
  render.erase(render.begin(), render.begin() + SampleFramesBefore(FirstFrame, FramesPerSecond) * 2);

  ASSERT_EQ(FirstSound.size(), render.size() * 2);
  std::size_t differing = 0;
  int loudest = 0;
  for (std::size_t i = 0; i < render.size(); ++i) {
    const auto decoded = static_cast<std::int16_t>(FirstSound[2 * i] | FirstSound[2 * i + 1] << 8);
    differing += decoded != render[i];
    loudest = std::max(loudest, std::abs(int{decoded}));
  }
  EXPECT_EQ(differing, 0u);
  EXPECT_GT(loudest, 1000);
}

TEST_F(VideoExportTest, EachFrameIsTheStillCaptureForItsSceneTime) {
  ASSERT_NO_FATAL_FAILURE(ExportFirst());
  // Frame n of a steady run is drawn when n / rate seconds have passed, at the
  // main loop's smoothed scene time.
  std::vector<std::int32_t> times;
  std::int32_t sceneTime = 0;
  for (std::int64_t n = 0; n < FirstFrame + Frames; ++n) {
    sceneTime = SmoothSceneTime(sceneTime, static_cast<std::uint32_t>(n * 1000 / FramesPerSecond));
    if (n >= FirstFrame) times.push_back(sceneTime);
  }
  EXPECT_EQ(times[0], 17000);  // one frame interval behind the clock

  platform::TOffscreenContext context(Width, Height);
  TFrameCapture stills(context, FramesPerSecond, Keys());
  for (const std::int64_t n : {0, 4, 9}) {
    const auto at = FirstFrames.begin() + static_cast<std::ptrdiff_t>(n * FrameBytes);
    const std::vector<std::uint8_t> inVideo(at, at + FrameBytes);
    EXPECT_TRUE(stills.CaptureAt(times[static_cast<std::size_t>(n)]).Pixels == inVideo) << "frame " << n;
  }
}

TEST_F(VideoExportTest, WithoutFfmpegTheFramesBecomePngFilesAndTheMusicAWav) {
  ASSERT_NO_FATAL_FAILURE(ExportFirst());
  TVideoOptions options = Options("plain.mkv");
  options.Ffmpeg.clear();
  std::vector<std::int64_t> progress;
  const TVideoResult result = ExportVideo(options, [&](std::int64_t done) { progress.push_back(done); });
  ASSERT_TRUE(result.Error.empty()) << result.Error;
  ASSERT_EQ(progress.size(), static_cast<std::size_t>(FirstFrame + Frames));
  for (std::size_t n = 0; n < progress.size(); ++n) EXPECT_EQ(progress[n], static_cast<std::int64_t>(n + 1));
  EXPECT_EQ(result.FramesFolder, Path("plain-frames"));
  EXPECT_EQ(result.WavPath, Path("plain.wav"));
  EXPECT_FALSE(fs::exists(Path("plain.mkv")));

  EXPECT_EQ(std::distance(fs::directory_iterator(result.FramesFolder), fs::directory_iterator()), Frames);
  const auto at = FirstFrames.begin() + static_cast<std::ptrdiff_t>(7 * FrameBytes);
  EXPECT_TRUE(DecodeFrames(result.FramesFolder + "/frame-000007.png") ==
              std::vector<std::uint8_t>(at, at + FrameBytes));

  const std::vector<std::uint8_t> wav = ReadFile(result.WavPath);
  ASSERT_EQ(wav.size(), 44 + FirstSound.size());
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(wav[24] | wav[25] << 8 | wav[26] << 16, 44100);
  EXPECT_TRUE(std::equal(FirstSound.begin(), FirstSound.end(), wav.begin() + 44));
}

TEST_F(VideoExportTest, Mp4IsH264WithAacAndGifHasNoSound) {
  TVideoOptions options = Options("short.mp4");
  options.FirstFrame = 0;
  options.Frames = 3;
  options.Keys = {};
  ASSERT_TRUE(ExportVideo(options, [](std::int64_t) {}).Error.empty());
  EXPECT_EQ(StreamCodecs(options.Path), "h264,aac");
  EXPECT_NEAR(Duration(options.Path), 0.6, 0.03);

  options.Path = Path("short.gif");
  ASSERT_TRUE(ExportVideo(options, [](std::int64_t) {}).Error.empty());
  EXPECT_EQ(StreamCodecs(options.Path), "gif");
}

TEST_F(VideoExportTest, FailuresAreReportedAsSuch) {
  TVideoOptions options = Options("refused.mkv");
  options.FirstFrame = 0;
  options.Frames = 3;
  options.Ffmpeg = "/bin/false";
  EXPECT_NE(ExportVideo(options, [](std::int64_t) {}).Error.find("ffmpeg failed with exit status 1"),
            std::string::npos);
  options.Ffmpeg = Path("no-such-program");
  EXPECT_NE(ExportVideo(options, [](std::int64_t) {}).Error.find("cannot run"), std::string::npos);
  options.Ffmpeg = Ffmpeg;
  options.Path = Path("refused.avi");
  EXPECT_NE(ExportVideo(options, [](std::int64_t) {}).Error.find("cannot tell the kind of video"), std::string::npos);
  options.Path = Path("refused.mkv");
  options.FramesPerSecond = 0;
  EXPECT_NE(ExportVideo(options, [](std::int64_t) {}).Error.find("frame rate"), std::string::npos);
  options.FramesPerSecond = FramesPerSecond;
  options.Path = Path("refused.mp4");
  options.Width = 161;
  EXPECT_NE(ExportVideo(options, [](std::int64_t) {}).Error.find("even"), std::string::npos);
}

}  // namespace
