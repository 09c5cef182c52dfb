#include "tools/console/command_line.h"

#include <gtest/gtest.h>
#include <CLI/CLI.hpp>

#include <sstream>

#include "tools/console/checked_option.h"

namespace {

// A tool with a file to name and a level it checks itself.
struct TTool {
  TTool() : App("Does a thing to FILE.", "thing") {
    App.add_option("FILE", File, "the file")->required();
    AddCheckedOption(App, "-l,--level", "N", "the level, 1 to 9 (5)", [this](const std::string& word) {
      return ParseNumber(word, Level) && Level >= 1 && Level <= 9 ? "" : "takes 1 to 9";
    });
  }
  std::optional<int> Parse(const std::vector<std::string>& words) { return ParseCommandLine(App, words, Out, Err); }

  CLI::App App;
  std::string File;
  int Level = 5;
  std::ostringstream Out, Err;
};

}  // namespace

TEST(CommandLine, UsageErrorsAreOneLineAndExitTwo) {
  struct TCase {
    std::vector<std::string> Words;
    std::string Problem;
  };
  for (const TCase& test : std::vector<TCase>{{{}, "FILE is required"},
                                              {{"a", "--level", "0"}, "--level takes 1 to 9"},
                                              {{"a", "-l", "5x"}, "--level takes 1 to 9"},
                                              {{"a", "-l", "10", "-l", "3"}, "--level takes 1 to 9"},
                                              {{"a", "--loud"}, "The following argument was not expected: --loud"}}) {
    TTool tool;
    EXPECT_EQ(tool.Parse(test.Words), 2) << test.Problem;
    EXPECT_EQ(tool.Err.str(), "thing: " + test.Problem + " (usage: thing --help)\n");
    EXPECT_EQ(tool.Out.str(), "");
  }
}

TEST(CommandLine, HelpGoesToTheOutputAndValuesToTheirPlaces) {
  TTool help;
  EXPECT_EQ(help.Parse({"a", "--help"}), 0);
  for (const char* text : {"Does a thing to FILE.", "usage: thing [OPTIONS] FILE", "-l,--level N", "the level, 1 to 9"})
    EXPECT_NE(help.Out.str().find(text), std::string::npos) << text << " in\n" << help.Out.str();
  EXPECT_EQ(help.Err.str(), "");

  TTool tool;
  EXPECT_EQ(tool.Parse({"-l", "3", "a", "--level", "7"}), std::nullopt) << tool.Err.str();
  EXPECT_EQ(tool.File, "a");
  EXPECT_EQ(tool.Level, 7) << "the later value wins";
}
