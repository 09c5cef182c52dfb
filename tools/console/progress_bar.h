#pragma once
// A one-line progress bar on a terminal, redrawn in place at most ten times a
// second, with lines of text printed above it as they come. A bar that is not
// shown (the stream is no terminal) prints the lines alone.
#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

class TProgressBar {
 public:
  // unit names what is counted: "frames", "files".
  TProgressBar(std::ostream& out, std::int64_t total, std::string unit, bool shown);
  void Update(std::int64_t done);
  // fraction: of the whole work, for counts whose items take long each.
  void Update(std::int64_t done, double fraction);
  void Print(const std::string& line);
  // Leaves the bar's line for the output that follows.
  void Finish();

 private:
  std::ostream& Out;
  std::int64_t Total;
  std::string Unit;
  bool Shown;
  bool Drawn = false;  // the bar is on the current line
  std::chrono::steady_clock::time_point Start;
  std::chrono::steady_clock::time_point LastDraw;
};
