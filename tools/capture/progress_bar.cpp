#include "tools/capture/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {
constexpr int BarWidth = 30;
}  // namespace

TProgressBar::TProgressBar(std::int64_t total)
    : Total(std::max<std::int64_t>(total, 1)),
      Shown(isatty(STDERR_FILENO) == 1),
      Start(std::chrono::steady_clock::now()),
      LastDraw(Start) {}

void TProgressBar::Update(std::int64_t done) {
  if (!Shown) return;
  const auto now = std::chrono::steady_clock::now();
  if (Drawn && done < Total && now - LastDraw < std::chrono::milliseconds(100)) return;
  LastDraw = now;
  Drawn = true;
  const int filled = static_cast<int>(done * BarWidth / Total);
  const double seconds = std::chrono::duration<double>(now - Start).count();
  std::fprintf(
      stderr, "\r[%s%s] %3d%%  %lld/%lld frames  %.1f s", std::string(static_cast<std::size_t>(filled), '#').c_str(),
      std::string(static_cast<std::size_t>(BarWidth - filled), '.').c_str(), static_cast<int>(done * 100 / Total),
      static_cast<long long>(done), static_cast<long long>(Total), seconds);
  std::fflush(stderr);
}

void TProgressBar::Finish() {
  if (Shown && Drawn) std::fputc('\n', stderr);
  Drawn = false;
}
