// tarnxm play: keys, the status line and meters, usage and device errors,
// and songs played through SDL's dummy driver, which takes the sound at the
// real rate, without a terminal.
#include "tools/tarnxm/play_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <tuple>

#include "platform/wave_out.h"
#include "tests/tarnxm/render_fixture.h"
#include "tools/tarnxm/play_keys.h"
#include "tools/tarnxm/play_status.h"
#include "tools/tarnxm/tarnxm.h"
#include "tools/tarnxm/text_escape.h"

using namespace std::chrono_literals;

namespace {

TEST(PlayKeys, BytesMakeKeysAndSequencesOtherThanTheArrowsMeanNothing) {
  using enum TPlayAction;
  const std::vector<std::pair<std::string, std::vector<TPlayKey>>> cases = {
      {" ", {{Pause}}},
      {"q", {{Quit}}},
      {"Q", {{Quit}}},
      {"\x1b", {{Quit}}},
      {"n", {{NextFile}}},
      {"p", {{PreviousFile}}},
      {"<>", {{PreviousSubsong}, {NextSubsong}}},
      {"190", {{ToggleMute, 0}, {ToggleMute, 8}, {ToggleMute, 9}}},
      {"!h", {{UnmuteAll}, {Help}}},
      {"\x1b[A\x1b[B\x1bOC\x1b[D", {{PreviousOrder}, {NextOrder}, {SeekForward}, {SeekBack}}},
      {"\x1b[15~x\x1bOP", {}},
      {"\x1b[", {}},
      {"\x1b[B \x1b[1;5C q", {{NextOrder}, {Pause}, {Pause}, {Quit}}},
  };
  for (const auto& [bytes, keys] : cases) {
    TKeyDecoder decoder;
    std::vector<TPlayKey> decoded = decoder.Feed(bytes);
    const std::vector<TPlayKey> rest = decoder.Flush();
    decoded.insert(decoded.end(), rest.begin(), rest.end());
    EXPECT_EQ(decoded, keys) << PrintableText(bytes);
  }
}

TEST(PlayKeys, AnEscapeWaitsForTheRestOfItsSequenceAndAloneIsQuit) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  TKeyReader reader(ends[0]);
  const auto type = [&ends](std::string_view bytes) {
    EXPECT_EQ(write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  };
  type("q\x1b");
  EXPECT_EQ(reader.Wait(20ms), (std::vector<TPlayKey>{{TPlayAction::Quit}}));
  type("[C");
  EXPECT_EQ(reader.Wait(20ms), (std::vector<TPlayKey>{{TPlayAction::SeekForward}}));
  type("\x1b");
  EXPECT_TRUE(reader.Wait(20ms).empty());
  EXPECT_EQ(reader.Wait(20ms), (std::vector<TPlayKey>{{TPlayAction::Quit}}));
  close(ends[1]);
  close(ends[0]);
}

TEST(PlayStatus, TheLineShowsEveryFieldAndTheMeterInDecibels) {
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
  status.Subsong = 1;
  status.Subsongs = 3;
  EXPECT_TRUE(StatusLine(status).ends_with("underruns 2  subsong 1/3  paused"));
}

TEST(PlayStatus, MetersInDecibelsFitTheWidthAndMarkMutedChannels) {
  TPlayStatus status;
  status.ChannelStates.resize(3);
  status.ChannelStates[0].Level = 1;
  status.ChannelStates[1].Level = 0.125;  // -18 dB: half the bar
  status.ChannelStates[2] = {.Muted = true, .Level = 1};
  for (const auto& [columns, row] : std::vector<std::pair<std::int32_t, std::string>>{
           {80, "1######## 2####.... 3--------"}, {12, "1## 2#. 3--"}, {11, ""}})
    EXPECT_EQ(MeterRow(status, columns), row) << columns;
  status.ChannelStates.resize(10);
  EXPECT_TRUE(MeterRow(status, 80).starts_with(" 1#####  2##...  3-----  4.....")) << MeterRow(status, 80);
}

class PlayCommand : public testing::Test {
 protected:
  void SetUp() override {
    Song = (std::filesystem::temp_directory_path() / ("tarnxm-play-test-" + std::to_string(getpid()) + ".xm")).string();
    // A constant level, looped: 0.48 s.
    const TBytes bytes = OneNoteSong(std::vector<std::int8_t>(32, 60));
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
    std::vector<std::string> words = {"play"};
    words.insert(words.end(), args.begin(), args.end());
    const auto start = std::chrono::steady_clock::now();
    const int status = RunTarnXM(words, Out, Err, {pipeEnds[0], false});
    Took = std::chrono::steady_clock::now() - start;
    typist.join();
    close(pipeEnds[0]);
    return status;
  }

  std::string Song;
  std::ostringstream Out, Err;
  std::chrono::steady_clock::duration Took{};
};

TEST_F(PlayCommand, UsageErrorsAndAMissingFileOrDeviceAreOneLineEach) {
  EXPECT_EQ(RunTarnXM({"play"}, Out, Err), 2);
  EXPECT_EQ(Err.str(), "tarnxm play: FILE is required (usage: tarnxm play --help)\n");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"play", Song, "--loud"},
                                                                                    {"play", Song, "--rate", "0"},
                                                                                    {"play", Song, "--loops", "x"},
                                                                                    {"play", Song, "--rate"}})
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

TEST_F(PlayCommand, OnceEndsWithTheSongAfterItsLastBufferHasPlayed) {
  EXPECT_EQ(PlayWithKeys({Song, "--once", "--mono", "--rate", "22050", "--interpolation", "linear"}, {}), 0);
  EXPECT_GE(Took, 450ms);
  EXPECT_LT(Took, 2s);
  EXPECT_TRUE(Out.str().starts_with("tarnxm: " + Song + ": played 0:00.")) << Out.str();
  EXPECT_TRUE(Out.str().ends_with(", 0 underruns\n")) << Out.str();
  EXPECT_EQ(Err.str(), "");
}

TEST_F(PlayCommand, TheLoopsGivenOrTheEndTimeEndPlay) {
  using TCase = std::tuple<std::string, std::string, std::chrono::milliseconds, std::chrono::milliseconds>;
  for (const auto& [option, value, least, most] :
       std::vector<TCase>{{"--loops", "1", 930ms, 2000ms}, {"--end-time", "0.3", 280ms, 700ms}}) {
    EXPECT_EQ(PlayWithKeys({Song, option, value}, {}), 0);
    EXPECT_GE(Took, least) << option;
    EXPECT_LT(Took, most) << option;
  }
}

TEST_F(PlayCommand, TheSongLoopsUntilQuitAndTheClockStandsStillWhilePaused) {
  // Paused at once for 0.8 s, then playing for 0.7 s, past the song's end,
  // then q.
  EXPECT_EQ(PlayWithKeys({Song}, {{" ", 0}, {" ", 800}, {"q", 700}}), 0);
  EXPECT_GE(Took, 1500ms);
  const std::string played = Out.str().substr(Out.str().find("played ") + 7, 8);
  EXPECT_GE(played, "0:00.600") << Out.str();
  EXPECT_LE(played, "0:00.900") << Out.str();
}

TEST_F(PlayCommand, FilesPlayInTurnAndOneThatDoesNotLoadIsOneLine) {
  const std::string bad = Song + ".missing";
  EXPECT_EQ(PlayWithKeys({Song, bad, Song, "--once"}, {}), 0);
  EXPECT_GE(Took, 900ms);
  const std::string played = "tarnxm: " + Song + ": played 0:00.";
  EXPECT_EQ(Out.str().find(played), 0u) << Out.str();
  EXPECT_NE(Out.str().find("\n" + played), std::string::npos) << Out.str();
  EXPECT_TRUE(Err.str().starts_with("[1/3] " + Song + "\ntarnxm: " + bad + ": cannot read: ")) << Err.str();
  EXPECT_NE(Err.str().find("\n[3/3] " + Song + "\n"), std::string::npos) << Err.str();

  Out.str("");
  EXPECT_EQ(PlayWithKeys({bad, bad}, {}), 1);
  EXPECT_EQ(Out.str(), "");
}

TEST_F(PlayCommand, WithoutATerminalTheStatusIsAPlainLineEachSecond) {
  EXPECT_EQ(PlayWithKeys({Song}, {{"q", 2300}}), 0);
  const std::regex line(R"(0:0(\d\.\d{3})  order 0/1  pattern 0  row \d/4  speed 6  tempo 125  .*  underruns 0)");
  std::istringstream lines(Err.str());
  std::vector<double> seconds;
  for (std::string text; std::getline(lines, text);) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, line)) << text;
    seconds.push_back(std::stod(match[1]));
  }
  ASSERT_EQ(seconds.size(), 2u) << Err.str();
  EXPECT_NEAR(seconds[1] - seconds[0], 1, 0.15);
}

}  // namespace
