#include "scene/scroller_text.h"

#include <gtest/gtest.h>

#include "platform/resources.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Count(std::int32_t count) {
  const auto bits = static_cast<std::uint32_t>(count);
  return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits >> 16),
          static_cast<std::uint8_t>(bits >> 24)};
}

TBytes Join(TBytes a, const TBytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ScrollerTextTest, LinesAreReadAsAnnouncedWithEveryByteKept) {
  const TBytes data = Join(Count(3), {2, 'a', 'b', 0, 4, ' ', 0xE9, 0xFF, 'z'});
  EXPECT_EQ(ParseScrollerText(data), (std::vector<std::string>{"ab", "", " \xE9\xFFz"}));
}

TEST(ScrollerTextTest, ShortOrLyingDataGivesWhatIsThere) {
  EXPECT_TRUE(ParseScrollerText(Join(Count(-5), {1, 'a'})).empty());
  EXPECT_TRUE(ParseScrollerText(TBytes{2, 0}).empty());
  // The count is cut to the records that start inside the data.
  EXPECT_EQ(ParseScrollerText(Join(Count(1000000), {1, 'a', 0})), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(ParseScrollerText(Join(Count(0x7FFFFFFF), {1, 'a'})), (std::vector<std::string>{"a"}));
  // A line cut short keeps the bytes present.
  EXPECT_EQ(ParseScrollerText(Join(Count(2), {10, 'a', 'b', 'c'})), (std::vector<std::string>{"abc"}));
}

class LoadScrollerTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EndProcess = [](int exitCode) { ExitCodes.push_back(exitCode); };
    ExitCodes.clear();
  }
  void TearDown() override {
    EndProcess = SavedEndProcess;
    platform::SetResources(nullptr);
    ScrollerLines.clear();
    LineCount = 0;
  }
  static inline std::vector<int> ExitCodes;
  void (*SavedEndProcess)(int) = EndProcess;
};

TEST_F(LoadScrollerTextTest, TheIntroEndsWithCodeZeroWithoutItsText) {
  const platform::TResourceSet none;
  platform::SetResources(&none);
  LoadScrollerText();
  EXPECT_EQ(ExitCodes, std::vector<int>{0});

  // A resource whose data cannot be had counts as missing.
  const platform::TResourceSet unlocked{{"TEXT", "TEXT", {}}};
  platform::SetResources(&unlocked);
  LoadScrollerText();
  EXPECT_EQ(ExitCodes, (std::vector<int>{0, 0}));
  EXPECT_EQ(LineCount, 0);
}

TEST_F(LoadScrollerTextTest, TheIntroTextIsCentredPrintableAndHoldsExactlyWhatItAnnounces) {
  LoadScrollerText();
  EXPECT_TRUE(ExitCodes.empty());
  ASSERT_GE(LineCount, 24);
  EXPECT_EQ(LineCount, static_cast<std::int32_t>(ScrollerLines.size()));
  std::size_t size = 4;
  for (const std::string& line : ScrollerLines) {
    size += 1 + line.size();
    EXPECT_LE(line.size(), 80u) << line;
    for (const char c : line) {
      EXPECT_GE(static_cast<std::uint8_t>(c), 32) << line;
      EXPECT_LE(static_cast<std::uint8_t>(c), 254) << line;
    }
  }
  EXPECT_EQ(size, platform::FindResource("TEXT", "TEXT")->Data.size());
  const std::string& title = ScrollerLines[0];
  const std::size_t indent = title.find_first_not_of(' ');
  EXPECT_LE(std::abs(static_cast<int>(indent) - static_cast<int>(80 - title.size())), 1) << title;
}

}  // namespace
