#include "tools/console/progress_bar.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

namespace {
constexpr int BarWidth = 30;
}  // namespace

TProgressBar::TProgressBar(std::ostream& out, std::int64_t total, std::string unit, bool shown)
    : Out(out),
      Total(std::max<std::int64_t>(total, 1)),
      Unit(std::move(unit)),
      Shown(shown),
      Start(std::chrono::steady_clock::now()),
      LastDraw(Start) {}

void TProgressBar::Update(std::int64_t done) { Update(done, static_cast<double>(done) / static_cast<double>(Total)); }

void TProgressBar::Update(std::int64_t done, double fraction) {
  if (!Shown) return;
  const auto now = std::chrono::steady_clock::now();
  if (Drawn && done < Total && now - LastDraw < std::chrono::milliseconds(100)) return;
  LastDraw = now;
  Drawn = true;
  const double whole = std::clamp(fraction, 0.0, 1.0);
  const int filled = static_cast<int>(whole * BarWidth);
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "] %3d%%  %lld/%lld %s  %.1f s", static_cast<int>(whole * 100),
                static_cast<long long>(done), static_cast<long long>(Total), Unit.c_str(),
                std::chrono::duration<double>(now - Start).count());
  Out << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
      << std::string(static_cast<std::size_t>(BarWidth - filled), '.') << numbers << "\x1b[K" << std::flush;
}

void TProgressBar::Print(const std::string& line) {
  Out << (Drawn ? "\r\x1b[K" : "") << line << "\n";
  Drawn = false;
}

void TProgressBar::Finish() {
  if (Drawn) Out << "\n" << std::flush;
  Drawn = false;
}
