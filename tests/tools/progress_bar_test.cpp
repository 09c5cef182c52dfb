#include "tools/console/progress_bar.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace {

// What the bar wrote, with its clock readings as "T".
std::string Drawn(const std::ostringstream& out) {
  return std::regex_replace(out.str(), std::regex("[0-9]+\\.[0-9] s"), "T s");
}

std::size_t Draws(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = text.find("\r["); at != std::string::npos; at = text.find("\r[", at + 1)) ++count;
  return count;
}

}  // namespace

TEST(ProgressBar, LinesGoAboveTheBarAndFinishingEndsItsLine) {
  std::ostringstream out;
  TProgressBar bar(out, 4, "files", true);
  bar.Update(1);
  bar.Print("one.xm: done");
  bar.Update(2, 0.6);
  bar.Update(4);
  bar.Finish();
  EXPECT_EQ(Drawn(out),
            "\r[#######.......................]  25%  1/4 files  T s\x1b[K"
            "\r\x1b[Kone.xm: done\n"
            "\r[##################............]  60%  2/4 files  T s\x1b[K"
            "\r[##############################] 100%  4/4 files  T s\x1b[K\n");
}

TEST(ProgressBar, RedrawsAtMostTenTimesASecondButAlwaysAtTheEnd) {
  std::ostringstream out;
  TProgressBar bar(out, 1000, "frames", true);
  for (int done = 1; done <= 1000; ++done) bar.Update(done);
  EXPECT_LE(Draws(out.str()), 3u);
  EXPECT_TRUE(Drawn(out).ends_with("1000/1000 frames  T s\x1b[K")) << Drawn(out);
}

TEST(ProgressBar, WhereItIsNotShownOnlyTheLinesAreWritten) {
  std::ostringstream out;
  TProgressBar bar(out, 2, "files", false);
  bar.Update(1);
  bar.Print("one.xm: done");
  bar.Update(2);
  bar.Finish();
  EXPECT_EQ(out.str(), "one.xm: done\n");
}
