// tarnxm info's subsong list, the version, and each command's help.
#include <gtest/gtest.h>

#include "tests/tarnxm/render_fixture.h"

namespace {

using TarnXMSubsongsAndHelp = TarnXMRenderTest;

TEST_F(TarnXMSubsongsAndHelp, InfoListsEverySubsongWithItsStartAndLength) {
  struct TCase {
    TBytes Song;
    const char* Text;
    const char* Json;
  };
  for (const TCase& test : {TCase{FourChannelSong(), "Subsongs:     1\n  subsong 0: from order 0, 0:01.920\n",
                                  ",\"subsongs\":[{\"first_order\":0,\"duration_ms\":1920}],\"duration_ms\":1920}\n"},
                            TCase{TwoSubsongSong(),
                                  "Subsongs:     2\n  subsong 0: from order 0, 0:00.960\n"
                                  "  subsong 1: from order 1, 0:01.920\n",
                                  ",\"subsongs\":[{\"first_order\":0,\"duration_ms\":960},"
                                  "{\"first_order\":1,\"duration_ms\":1920}],\"duration_ms\":960}\n"}}) {
    const std::string song = Write("song.xm", test.Song);
    ASSERT_EQ(Run({"info", song}), 0) << Err.str();
    EXPECT_NE(Out.str().find(test.Text), std::string::npos) << Out.str();
    ASSERT_EQ(Run({"info", "--json", song}), 0) << Err.str();
    EXPECT_TRUE(Out.str().ends_with(test.Json)) << Out.str();
  }
}

TEST_F(TarnXMSubsongsAndHelp, VersionAndEachCommandsHelp) {
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(Out.str(), "tarnxm 0.1.0\n");
  struct TCase {
    std::vector<std::string> Args;
    std::vector<const char*> Mentions;
  };
  for (const TCase& test : std::vector<TCase>{
           {{"info", "--help"}, {"usage: tarnxm info", "--json"}},
           {{"render", "x.xm", "-h"},
            {"usage: tarnxm render", "--out-dir", "--stems", "--format", "--container", "--jobs", "--seconds", "--gain",
             "--stereo", "--mute", "--solo", "--subsong", "--start", "--loops", "--end-time", "--rate"}},
           {{"play", "--help"}, {"usage: tarnxm play", "--once", "--gain", "--solo", "Space", "! unmute all"}},
           {{"--help"}, {"tarnxm info", "tarnxm render", "tarnxm play", "--version"}}}) {
    EXPECT_EQ(Run(test.Args), 0) << test.Args[0];
    for (const char* mention : test.Mentions) EXPECT_NE(Out.str().find(mention), std::string::npos) << mention;
    EXPECT_EQ(Err.str(), "");
  }
}

}  // namespace
