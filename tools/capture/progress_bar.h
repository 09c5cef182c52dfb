#pragma once
// A one-line progress bar on the terminal, redrawn in place at most ten times
// a second; silent where stderr is not a terminal.
#include <chrono>
#include <cstdint>

class TProgressBar {
 public:
  explicit TProgressBar(std::int64_t total);
  void Update(std::int64_t done);
  // Leaves the line for the output that follows.
  void Finish();

 private:
  std::int64_t Total;
  bool Shown;
  bool Drawn = false;
  std::chrono::steady_clock::time_point Start;
  std::chrono::steady_clock::time_point LastDraw;
};
