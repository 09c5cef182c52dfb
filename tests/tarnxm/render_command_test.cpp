#include "tools/tarnxm/render_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/tarnxm/render_fixture.h"
#include "tools/tarnxm/tarnxm.h"

namespace {

class TarnXMRender : public testing::Test {
 protected:
  void SetUp() override {
    Folder = std::filesystem::temp_directory_path() / ("tarnxm-render-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(Folder);
    Song = (Folder / "song.xm").string();
    std::ofstream(Song, std::ios::binary).write(reinterpret_cast<const char*>(SongBytes().data()), SongBytes().size());
  }
  void TearDown() override { std::filesystem::remove_all(Folder); }

  // One channel, four rows: a looping square wave from row 0.
  static const TBytes& SongBytes() {
    static const TBytes bytes = [] {
      std::vector<std::int8_t> square(32);
      for (int k = 0; k < 32; ++k) square[k] = k < 16 ? 100 : -100;
      return OneNoteSong(square);
    }();
    return bytes;
  }

  int Run(const std::vector<std::string>& args) {
    Out.str("");
    Err.str("");
    return RunTarnXM(args, Out, Err);
  }

  TBytes Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(file), {});
  }

  static std::uint32_t LE(const TBytes& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k) value = value << 8 | bytes[at + k];
    return value;
  }

  std::filesystem::path Folder;
  std::string Song;
  std::ostringstream Out, Err;
};

TEST_F(TarnXMRender, RendersTheSongToItsEndAsA16BitWav) {
  const std::string wav = (Folder / "out.wav").string();
  ASSERT_EQ(Run({"render", Song, "-o", wav, "--gain", "0"}), 0) << Err.str();
  const TBytes bytes = Read(wav);
  ASSERT_GE(bytes.size(), 44u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(LE(bytes, 20, 2), 1u);  // PCM
  EXPECT_EQ(LE(bytes, 22, 2), 2u);
  EXPECT_EQ(LE(bytes, 24, 4), 44100u);
  EXPECT_EQ(LE(bytes, 28, 4), 44100u * 4);
  EXPECT_EQ(LE(bytes, 32, 2), 4u);
  EXPECT_EQ(LE(bytes, 34, 2), 16u);
  // Four rows of six ticks of 882 frames, then the song comes round.
  EXPECT_EQ(LE(bytes, 40, 4), 4u * 6 * 882 * 4);
  EXPECT_EQ(bytes.size(), 44u + 4 * 6 * 882 * 4);
  EXPECT_EQ(LE(bytes, 4, 4), bytes.size() - 8);
  // The square wave is there, at 25600 x 64/64 x 127/255 on each side in
  // the centre.
  int loud = 0;
  for (std::size_t k = 44; k + 1 < bytes.size(); k += 2)
    loud += std::abs(static_cast<std::int16_t>(LE(bytes, k, 2))) > 12000;
  EXPECT_GT(loud, 4 * 6 * 882);
  EXPECT_NE(Err.str().find("0:00.480 of audio in "), std::string::npos) << Err.str();
  EXPECT_NE(Err.str().find("realtime\n"), std::string::npos) << Err.str();
  EXPECT_TRUE(Out.str().empty());
}

TEST_F(TarnXMRender, SecondsRateMonoInterpolationAndClipping) {
  const std::string wav = (Folder / "out.wav").string();
  ASSERT_EQ(Run({"render", "--seconds", "1.5", Song, "--rate", "22050", "--mono", "--interpolation", "cubic",
                 "--no-clip", "-o", wav}),
            0)
      << Err.str();
  const TBytes bytes = Read(wav);
  EXPECT_EQ(LE(bytes, 22, 2), 1u);
  EXPECT_EQ(LE(bytes, 24, 4), 22050u);
  // Past the song's end playback goes on.
  EXPECT_EQ(bytes.size(), 44u + 33075 * 2);
  for (const char* interpolation : {"none", "linear", "sinc"})
    EXPECT_EQ(Run({"render", Song, "-o", wav, "--interpolation", interpolation}), 0) << interpolation;
}

TEST_F(TarnXMRender, FailuresSayWhatAndWhere) {
  const std::string missing = (Folder / "missing.xm").string();
  EXPECT_EQ(Run({"render", missing, "-o", (Folder / "a.wav").string()}), 1);
  EXPECT_EQ(Err.str().rfind("tarnxm: " + missing + ": cannot read: ", 0), 0u) << Err.str();
  const std::string unwritable = (Folder / "no" / "such" / "a.wav").string();
  EXPECT_EQ(Run({"render", Song, "-o", unwritable}), 1);
  EXPECT_EQ(Err.str().rfind("tarnxm: " + unwritable + ": cannot write: ", 0), 0u) << Err.str();
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(Run({"render", Song, "-o", "/dev/full"}), 1);
    EXPECT_EQ(Err.str().rfind("tarnxm: /dev/full: cannot write: ", 0), 0u) << Err.str();
  }
}

TEST_F(TarnXMRender, UsageErrorsExitWithTwo) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"render"},
                                             {"render", Song},
                                             {"render", "-o", "x.wav"},
                                             {"render", Song, "-o"},
                                             {"render", Song, "-o", "x.wav", "--rate", "0"},
                                             {"render", Song, "-o", "x.wav", "--rate", "44k"},
                                             {"render", Song, "-o", "x.wav", "--seconds", "-1"},
                                             {"render", Song, "-o", "x.wav", "--seconds", "nan"},
                                             {"render", Song, "-o", "x.wav", "--interpolation", "spline"},
                                             {"render", Song, Song, "-o", "x.wav"},
                                             {"render", Song, "-o", "x.wav", "--loud"}}) {
    EXPECT_EQ(Run(args), 2) << args.size();
    EXPECT_EQ(Err.str().rfind("tarnxm render: ", 0), 0u) << Err.str();
    EXPECT_NE(Err.str().find("usage: tarnxm"), std::string::npos);
  }
}

}  // namespace
