// tarnxm play: keys, the status line, usage and device errors, and songs
// played through SDL's dummy driver, which takes the sound at the real rate.
#include "tools/tarnxm/play_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/wave_out.h"
#include "tests/player/module_writer.h"
#include "tools/tarnxm/play_keys.h"
#include "tools/tarnxm/play_status.h"
#include "tools/tarnxm/tarnxm.h"

using namespace std::chrono_literals;

namespace {

TEST(TarnXMPlayKeys, SpacePausesQAndALoneEscapeQuitAndSequencesMeanNothing) {
  using enum TPlayKey;
  EXPECT_EQ(KeysFromInput(" "), std::vector<TPlayKey>{Pause});
  EXPECT_EQ(KeysFromInput("q"), std::vector<TPlayKey>{Quit});
  EXPECT_EQ(KeysFromInput("Q"), std::vector<TPlayKey>{Quit});
  EXPECT_EQ(KeysFromInput("\x1b"), std::vector<TPlayKey>{Quit});
  EXPECT_TRUE(KeysFromInput("\x1b[A").empty());
  EXPECT_TRUE(KeysFromInput("\x1b[15~x\x1bOP").empty());
  EXPECT_EQ(KeysFromInput("\x1b[B \x1b[1;5C q"), (std::vector<TPlayKey>{Pause, Pause, Quit}));
}

TEST(TarnXMPlayStatus, TheLineShowsEveryFieldAndTheMeterInDecibels) {
  TPlayStatus status;
  status.Seconds = 62.5;
  status.Order = 3;
  status.SongLength = 12;
  status.Pattern = 5;
  status.Row = 17;
  status.Rows = 64;
  status.Speed = 6;
  status.Tempo = 125;
  status.Sounding = 5;
  status.Channels = 8;
  status.Level = 0.25;  // -12 dB: three quarters of the meter
  status.Underruns = 2;
  EXPECT_EQ(
      StatusLine(status),
      "1:02.500  order 3/12  pattern 5  row 17/64  speed 6  tempo 125  channels 5/8  [#########...]  underruns 2");
  status.Level = 0;
  status.Paused = true;
  EXPECT_TRUE(StatusLine(status).ends_with("[............]  underruns 2  paused"));
  status.Level = 1;
  EXPECT_NE(StatusLine(status).find("[############]"), std::string::npos);
}

class TarnXMPlay : public testing::Test {
 protected:
  void SetUp() override {
    Song = (std::filesystem::temp_directory_path() / ("tarnxm-play-test-" + std::to_string(getpid()) + ".xm")).string();
    // Four rows at speed 6 and tempo 125: 0.48 s.
    TXMWriter writer;
    writer.Channels = 1;
    TBytes cells = XMCell(49, 1);
    const TBytes empty = EmptyXMCells(3);
    cells.insert(cells.end(), empty.begin(), empty.end());
    writer.Patterns.push_back(XMPattern(4, cells));
    TXMInstrumentWriter instrument;
    TXMSampleWriter sample;
    sample.Data = Delta8(std::vector<std::int8_t>(32, 60));
    sample.Type = 1;
    sample.LoopLength = 32;
    instrument.Samples = {sample};
    writer.Instruments = {instrument};
    const TBytes bytes = writer.Build();
    std::ofstream(Song, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  void TearDown() override {
    platform::SetWaveOutFactory(nullptr);
    unsetenv("SDL_AUDIODRIVER");
    std::filesystem::remove(Song);
  }

  // Plays through SDL's dummy driver, with keys from a pipe.
  int PlayWithKeys(const std::vector<std::string>& args, const std::vector<std::pair<std::string, int>>& keys) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::SetWaveOutFactory(platform::CreateSdlWaveOut);
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    std::thread typist([&] {
      for (const auto& [text, afterMs] : keys) {
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
        EXPECT_EQ(write(pipeEnds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
      }
      close(pipeEnds[1]);
    });
    const auto start = std::chrono::steady_clock::now();
    const int status = RunPlay(args, Out, Err, {pipeEnds[0], false});
    Took = std::chrono::steady_clock::now() - start;
    typist.join();
    close(pipeEnds[0]);
    return status;
  }

  std::string Song;
  std::ostringstream Out, Err;
  std::chrono::steady_clock::duration Took{};
};

TEST_F(TarnXMPlay, UsageErrorsAndAMissingFileOrDeviceAreOneLineEach) {
  EXPECT_EQ(RunTarnXM({"play"}, Out, Err), 2);
  EXPECT_TRUE(Err.str().starts_with("tarnxm play: expected FILE\nusage:"));
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"play", Song, "--loud"}, {"play", Song, "--rate", "0"}, {"play", Song, Song}, {"play", Song, "--rate"}})
    EXPECT_EQ(RunTarnXM(args, Out, Err), 2) << args.back();

  Err.str("");
  EXPECT_EQ(RunTarnXM({"play", Song + ".missing"}, Out, Err), 1);
  EXPECT_TRUE(Err.str().starts_with("tarnxm: " + Song + ".missing: cannot read"));
  // The test program has chosen no device: the null one, which never opens.
  Err.str("");
  EXPECT_EQ(RunTarnXM({"play", Song, "--once"}, Out, Err), 1);
  EXPECT_EQ(Err.str(), "tarnxm: no sound device to play on\n");
  EXPECT_EQ(Out.str(), "");
}

TEST_F(TarnXMPlay, OnceEndsWithTheSongAfterItsLastBufferHasPlayed) {
  EXPECT_EQ(PlayWithKeys({Song, "--once", "--mono", "--rate", "22050", "--interpolation", "linear"}, {}), 0);
  EXPECT_GE(Took, 450ms);
  EXPECT_LT(Took, 2s);
  EXPECT_TRUE(Out.str().starts_with("tarnxm: " + Song + ": played 0:00.")) << Out.str();
  EXPECT_TRUE(Out.str().ends_with(", 0 underruns\n")) << Out.str();
  EXPECT_EQ(Err.str(), "");
}

TEST_F(TarnXMPlay, TheSongLoopsUntilQuitAndTheClockStandsStillWhilePaused) {
  // Paused at once for 0.8 s, then playing for 0.7 s, past the song's end,
  // then q.
  EXPECT_EQ(PlayWithKeys({Song}, {{" ", 0}, {" ", 800}, {"q", 700}}), 0);
  EXPECT_GE(Took, 1500ms);
  const std::string played = Out.str().substr(Out.str().find("played ") + 7, 8);
  EXPECT_GE(played, "0:00.600") << Out.str();
  EXPECT_LE(played, "0:00.900") << Out.str();
}

}  // namespace
