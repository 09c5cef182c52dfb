// tarnxm play at a terminal: the built tool on a pseudo-terminal, with keys
// typed into it and its status area read back, playing through SDL's disk
// driver, which takes the sound at the real rate.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "tools/xm_writer/xm_file_writer.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Orders of 64 rows at speed 6 and tempo 125 (7.68 s), where two channels
// start a looped note. The jump at the end of order 1 goes back to order 0,
// so that order 2 is a subsong of its own.
constexpr double OrderSeconds = 7.68;

std::string SongBytes(const std::string& title) {
  TXMWriter writer;
  writer.Title = title;
  writer.Channels = 2;
  writer.SongLength = 3;
  writer.Orders = {0, 1, 2};
  for (const std::uint8_t jump : {std::uint8_t{0}, std::uint8_t{0x0B}, std::uint8_t{0}}) {
    TBytes cells = XMCell(49, 1);
    for (const TBytes& more :
         {XMCell(49, 1), EmptyXMCells(62 * 2), jump ? XMCell(0, 0, 0, jump) : EmptyXMCells(1), EmptyXMCells(1)})
      cells.insert(cells.end(), more.begin(), more.end());
    writer.Patterns.push_back(XMPattern(64, cells));
  }
  TXMSampleWriter sample;
  sample.Data = Delta8(std::vector<std::int8_t>(32, 60));
  sample.Type = 1;
  sample.LoopLength = 32;
  writer.Instruments.resize(1);
  writer.Instruments[0].Samples = {sample};
  const TBytes bytes = writer.Build();
  return std::string(bytes.begin(), bytes.end());
}

class PlayTerminal : public testing::Test {
 protected:
  void SetUp() override {
    Folder = std::filesystem::temp_directory_path() / ("tarnxm-terminal-" + std::to_string(getpid()));
    std::filesystem::create_directories(Folder);
    for (const std::string name : {"first", "second"})
      std::ofstream(Folder / (name + ".xm"), std::ios::binary) << SongBytes(name);
  }
  void TearDown() override {
    if (Child > 0) {
      kill(Child, SIGKILL);
      waitpid(Child, nullptr, 0);
    }
    if (Master >= 0) close(Master);
    std::filesystem::remove_all(Folder);
  }

  std::string Path(const std::string& name) const { return (Folder / (name + ".xm")).string(); }

  // The tool playing the files on a terminal 120 columns wide, once its
  // status shows.
  void Start(const std::vector<std::string>& files) {
    std::vector<std::string> words = {
        std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tarnxm", "play",
        "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + (Folder / "sound").string()};
    words.insert(words.begin() + 2, files.begin(), files.end());
    // The arguments, a null, the environment and a null.
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.insert(pointers.end() - 2, nullptr);
    pointers.push_back(nullptr);
    winsize size{.ws_row = 40, .ws_col = 120, .ws_xpixel = 0, .ws_ypixel = 0};
    Child = forkpty(&Master, nullptr, nullptr, &size);
    ASSERT_GE(Child, 0);
    if (Child == 0) {
      execve(pointers[0], pointers.data(), pointers.data() + pointers.size() - 3);
      _exit(127);
    }
    ASSERT_TRUE(WaitFor(Status, 0)) << Output;
  }

  // Reads what the tool writes until the pattern shows after from; false
  // when the time is up or the tool has gone.
  bool WaitFor(const std::regex& pattern, std::size_t from, Clock::duration most = 3s) {
    const Clock::time_point until = Clock::now() + most;
    while (!std::regex_search(Output.begin() + static_cast<std::ptrdiff_t>(from), Output.end(), pattern)) {
      pollfd output{Master, POLLIN, 0};
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
      char bytes[4096];
      const ssize_t count = left > 0 && poll(&output, 1, static_cast<int>(left)) > 0 ? read(Master, bytes, 4096) : 0;
      if (count <= 0) return false;
      Output.append(bytes, static_cast<std::size_t>(count));
    }
    return true;
  }

  // The time and the order of the newest status line after a while.
  std::pair<double, int> Settle() {
    WaitFor(Nothing, Output.size(), 300ms);
    std::smatch last;
    for (auto it = std::sregex_iterator(Output.begin(), Output.end(), Status); it != std::sregex_iterator(); ++it)
      last = *it;
    return {std::stoi(last[1]) * 60 + std::stod(last[2]), std::stoi(last[3])};
  }

  void Type(const std::string& keys) {
    Typed = Output.size();
    ASSERT_EQ(write(Master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  int Quit() {
    Type("q");
    WaitFor(Nothing, Output.size());
    int status = 0;
    waitpid(std::exchange(Child, -1), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  const std::regex Status{R"((\d+):(\d\d\.\d{3})  order (\d+)/3 )"};
  const std::regex Nothing{R"([^\s\S])"};
  std::filesystem::path Folder;
  pid_t Child = -1;
  int Master = -1;
  std::string Output;
  std::size_t Typed = 0;
};

TEST_F(PlayTerminal, ArrowsSeekFiveSecondsOrStepAnOrderAndSubsongsAreTheirOwn) {
  struct TCase {
    std::string Keys;
    int Order;
    double Seconds;   // where the key lands
    bool FromBefore;  // Seconds counts from the time before the key
  };
  const std::vector<TCase> cases = {
      {"\x1b[C", 0, 5, true}, {"\x1b[D", 0, -5, true}, {"\x1b[B", 1, OrderSeconds, false},
      {"\x1b[C", 1, 5, true}, {"\x1b[A", 0, 0, false}, {">", 2, 0, false},
  };
  Start({Path("first")});
  for (const TCase& step : cases) {
    const auto [before, order] = Settle();
    const Clock::time_point pressed = Clock::now();
    Type(step.Keys);
    const auto [after, orderAfter] = Settle();
    const double since = std::chrono::duration<double>(Clock::now() - pressed).count();
    EXPECT_EQ(orderAfter, step.Order) << step.Keys;
    EXPECT_NEAR(after - since, step.Seconds + (step.FromBefore ? before : 0), 0.35) << step.Keys;
  }
  EXPECT_TRUE(WaitFor(std::regex("subsong 1/2"), Typed));
  EXPECT_EQ(Quit(), 0);
  EXPECT_GT(std::filesystem::file_size(Folder / "sound"), 0u);
}

TEST_F(PlayTerminal, MetersShowTheChannelsMutedAndHelpListsTheKeys) {
  Start({Path("first")});
  for (const auto& [keys, meters] : std::vector<std::pair<std::string, std::string>>{
           {"1", "1-------- 2[#.]{8}"}, {"2", "1-------- 2--------"}, {"!", "1#[#.]{7} 2#[#.]{7}"}}) {
    Type(keys);
    EXPECT_TRUE(WaitFor(std::regex("\n" + meters + "\x1b\\[K"), Typed)) << keys;
  }
  Type("h");
  EXPECT_TRUE(WaitFor(std::regex("\nSpace pause [^\n]*\nLeft/Right seek"), Typed));
  EXPECT_EQ(Quit(), 0);
}

TEST_F(PlayTerminal, NAndPGoToTheNextAndPreviousFile) {
  Start({Path("first"), Path("second")});
  for (const auto& [key, shown] : std::vector<std::pair<std::string, std::string>>{
           {"n", "tarnxm: " + Path("first") + ": played [\\s\\S]*\\[2/2\\] " + Path("second") + "  second"},
           {"p", "tarnxm: " + Path("second") + ": played [\\s\\S]*\\[1/2\\] " + Path("first") + "  first"}}) {
    Type(key);
    EXPECT_TRUE(WaitFor(std::regex(shown), Typed)) << key;
  }
  EXPECT_EQ(Quit(), 0);
}

}  // namespace
