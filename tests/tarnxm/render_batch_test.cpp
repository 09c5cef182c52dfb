// tarnxm render with several files on several threads: a bad file is one
// line and the others are still written; an output that cannot be written
// or an interrupted render leaves no partial file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "tests/tarnxm/render_fixture.h"

extern char** environ;

namespace {

class TarnXMRenderBatch : public TarnXMRenderTest {
 protected:
  void SetUp() override {
    TarnXMRenderTest::SetUp();
    Songs = {Write("one.xm", FourChannelSong()), Write("two.xm", TwoSubsongSong()),
             Write("three.xm", FourChannelSong())};
  }
  std::vector<std::string> Songs;
};

TEST_F(TarnXMRenderBatch, EachFileGoesToTheFolderOnEveryThreadCount) {
  for (const char* jobs : {"1", "2", "3"}) {
    const std::string folder = Path(std::string("out-") + jobs);
    ASSERT_EQ(Run({"render", Songs[0], Songs[1], Songs[2], "--out-dir", folder, "-j", jobs}), 0) << Err.str();
    for (const char* name : {"one", "two", "three"}) {
      const std::string out = folder + "/" + name + ".wav";
      EXPECT_EQ(Read(out), Read(Path("out-1/") + name + ".wav")) << out;
      EXPECT_NE(Err.str().find("tarnxm: " + out + ": "), std::string::npos) << Err.str();
    }
  }
  ASSERT_EQ(Run({"render", Songs[0], "--out-dir", Path("flac"), "--container", "flac"}), 0) << Err.str();
  EXPECT_EQ(FilesEndingWith(".flac"), std::vector<std::string>{"one.flac"});
}

TEST_F(TarnXMRenderBatch, ABadFileIsOneLineAndTheOthersAreWritten) {
  const std::string bad = Write("bad.xm", TBytes(10, 'x'));
  const std::string missing = Path("missing.mod");
  EXPECT_EQ(Run({"render", Songs[0], bad, missing, Songs[1], "--out-dir", Path("out"), "-j", "2"}), 1);
  EXPECT_NE(Err.str().find("tarnxm: " + bad + ": too short to be a module\n"), std::string::npos) << Err.str();
  EXPECT_NE(Err.str().find("tarnxm: " + missing + ": cannot read: No such file or directory\n"), std::string::npos);
  EXPECT_EQ(FilesEndingWith(".wav"), (std::vector<std::string>{"one.wav", "two.wav"}));
  // A subsong that one song lacks fails that song alone.
  EXPECT_EQ(Run({"render", Songs[0], Songs[1], "--out-dir", Path("sub"), "--subsong", "1"}), 1);
  EXPECT_NE(Err.str().find("tarnxm: " + Songs[0] + ": subsong 1 does not exist (the song has 1)\n"), std::string::npos)
      << Err.str();
  EXPECT_TRUE(std::filesystem::exists(Path("sub/two.wav")));
}

TEST_F(TarnXMRenderBatch, OutputsThatCannotBeWrittenLeaveNothing) {
  std::filesystem::create_directory(Path("taken.wav"));
  for (const std::string& out : {Path("no/such/folder/a.wav"), Path("taken.wav")}) {
    EXPECT_EQ(Run({"render", Songs[0], "-o", out}), 1) << out;
    EXPECT_EQ(Err.str().rfind("tarnxm: " + out + ": cannot write: ", 0), 0u) << Err.str();
    EXPECT_EQ(Err.str().find('\n'), Err.str().size() - 1);
  }
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(Run({"render", Songs[0], "-o", "/dev/full"}), 1);
  }
  EXPECT_EQ(FilesEndingWith(".part"), std::vector<std::string>{});
  // A file that was there stays as it was when the song fails.
  const std::string kept = Write("kept.wav", TBytes{'o', 'l', 'd'});
  EXPECT_EQ(Run({"render", Songs[0], "-o", kept, "--start", "59:00"}), 1);
  EXPECT_EQ(Err.str(), "tarnxm: " + Songs[0] + ": --start 59:00.000 is past the end of the song\n");
  EXPECT_EQ(Read(kept), (TBytes{'o', 'l', 'd'}));
}

// The built program rendering an hour of two songs, interrupted as soon as
// its first file is under way: it stops, says so, and removes what it began.
TEST_F(TarnXMRenderBatch, AnInterruptedRenderLeavesNoPartialFile) {
  ASSERT_TRUE(std::filesystem::exists(Tool())) << Tool() << " is not built";
  for (const int signal : {SIGINT, SIGTERM}) {
    const std::string tool = Tool().string(), out = Path("out"), err = Path("err");
    std::vector<std::string> words = {tool, "render", Songs[0], Songs[2], "--out-dir", out, "--seconds", "3600"};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, tool.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (FilesEndingWith(".part").empty() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_FALSE(FilesEndingWith(".part").empty()) << "the render did not start";
    const auto sent = std::chrono::steady_clock::now();
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(2)) << "it stops at once";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
    EXPECT_EQ(FilesEndingWith(".part"), std::vector<std::string>{});
    EXPECT_EQ(FilesEndingWith(".wav"), std::vector<std::string>{});
    const TBytes said = Read(err);
    EXPECT_EQ(std::string(said.begin(), said.end()), "tarnxm: interrupted; the unfinished files are removed\n");
  }
}

}  // namespace
