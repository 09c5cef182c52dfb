// What a person may hand the tool by mistake: each is refused with the path
// and a reason, exit status 1, nothing on the standard output and no WAV.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "tools/tarnxm/tarnxm.h"

namespace {

class TarnXMHostileFiles : public testing::Test {
 protected:
  void SetUp() override {
    Folder = std::filesystem::temp_directory_path() / ("tarnxm-hostile-" + std::to_string(getpid()));
    std::filesystem::create_directories(Folder);
  }
  void TearDown() override { std::filesystem::remove_all(Folder); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = (Folder / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // Both commands refuse the file with the same reason.
  void ExpectRefused(const std::string& path, const std::string& reason) {
    const std::string wav = (Folder / "out.wav").string();
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"info", path}, {"info", "--json", path}, {"render", path, "-o", wav}}) {
      std::ostringstream out, err;
      EXPECT_EQ(RunTarnXM(args, out, err), 1) << args[0] << " " << path;
      EXPECT_EQ(err.str().rfind("tarnxm: " + path + ": " + reason, 0), 0u) << err.str();
      EXPECT_TRUE(out.str().empty());
      EXPECT_FALSE(std::filesystem::exists(wav));
    }
  }

  std::string Read(const std::string& name) {
    std::ifstream file(Folder / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  std::filesystem::path Folder;
};

TEST_F(TarnXMHostileFiles, MissingPathsDirectoriesAndEmptyFiles) {
  ExpectRefused((Folder / "missing.xm").string(), "cannot read: No such file or directory\n");
  std::filesystem::create_directory(Folder / "songs.xm");
  ExpectRefused((Folder / "songs.xm").string(), "cannot read: Is a directory\n");
  std::filesystem::create_symlink(Folder / "gone.xm", Folder / "link.xm");
  ExpectRefused((Folder / "link.xm").string(), "cannot read: No such file or directory\n");
  ExpectRefused(Write("empty.xm", ""), "too short to be a module\n");
}

TEST_F(TarnXMHostileFiles, RandomBytesAreNoModule) {
  std::mt19937 random(7);
  for (const std::size_t size : {1u, 100u, 1083u, 1084u, 5000u, 100000u}) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    const std::string path = Write("random-" + std::to_string(size), bytes);
    std::ostringstream out, err;
    EXPECT_EQ(RunTarnXM({"info", path}, out, err), 1) << size;
    EXPECT_EQ(err.str().rfind("tarnxm: " + path + ": ", 0), 0u) << err.str();
  }
}

// A sparse file: its size is refused before any of it is read.
TEST_F(TarnXMHostileFiles, HugeFilesAreRefusedUnread) {
  const std::string path = Write("huge.xm", "Extended Module: ");
  std::filesystem::resize_file(path, std::uintmax_t{5} << 30);
  ExpectRefused(path, "too large to be a module\n");
}

// The tool as built (beside the test programs' folder), with no sound
// driver to open and with ALSA, which on a machine without a sound card
// writes its complaints to the standard error when SDL opens it: info and
// render leave the sound device alone, so only the refusal is written.
TEST_F(TarnXMHostileFiles, TheBuiltToolRefusesInOneLineWithoutTouchingTheSoundDevice) {
  const std::filesystem::path tool =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tarnxm";
  ASSERT_TRUE(std::filesystem::exists(tool)) << tool << " is not built";
  const std::string path = Write("empty.xm", "");
  const std::string wav = (Folder / "out.wav").string();
  for (const char* driver : {"nonexistent", "alsa"})
    for (const std::string& args : {"info " + path, "info --json " + path, "render " + path + " -o " + wav}) {
      const std::string command = std::string("SDL_AUDIODRIVER=") + driver + " " + tool.string() + " " + args + " >" +
                                  (Folder / "out").string() + " 2>" + (Folder / "err").string();
      const int status = std::system(command.c_str());
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << driver << ": " << args << ": " << status;
      EXPECT_EQ(Read("err"), "tarnxm: " + path + ": too short to be a module\n") << driver << ": " << args;
      EXPECT_EQ(Read("out"), "") << driver << ": " << args;
      EXPECT_FALSE(std::filesystem::exists(wav));
    }
}

}  // namespace
