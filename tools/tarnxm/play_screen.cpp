#include "tools/tarnxm/play_screen.h"

#include <sys/ioctl.h>

#include "tools/tarnxm/play_keys.h"

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

std::int32_t TerminalColumns(int fd) {
  winsize size{};
  return ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

}  // namespace

TPlayScreen::TPlayScreen(std::ostream& out, bool terminal, int columnsFd)
    : Out(out), Terminal(terminal), ColumnsFd(columnsFd), ShownAt(Clock::now()) {}

void TPlayScreen::Close() {
  if (Drawn > 0) Out << "\n" << std::flush;
  Drawn = 0;
  Shown.clear();
  Terminal = false;
}

void TPlayScreen::Show(const TPlayStatus& status, bool now) {
  Last = status;
  if (!Terminal) {
    if (Clock::now() - ShownAt < 1s) return;
    Out << StatusLine(status) << "\n" << std::flush;
    ShownAt = Clock::now();
    return;
  }
  if (!now && Clock::now() - ShownAt < 100ms) return;
  Draw(AreaLines(status));
  ShownAt = Clock::now();
}

void TPlayScreen::Print(std::ostream& to, const std::string& line) {
  if (Terminal) Out << Home() << "\x1b[J" << std::flush;
  to << line << "\n" << std::flush;
  if (!Terminal) return;
  Drawn = 0;
  Draw(Shown);
}

void TPlayScreen::ToggleHelp() {
  if (!Terminal) {
    for (const std::string& line : PlayKeyHelp) Out << line << "\n";
    Out << std::flush;
    return;
  }
  Help = !Help;
  Draw(AreaLines(Last));
}

std::vector<std::string> TPlayScreen::AreaLines(const TPlayStatus& status) const {
  const std::int32_t columns = TerminalColumns(ColumnsFd);
  // A line as wide as the terminal would leave the cursor waiting to wrap.
  const auto fit = [columns](const std::string& line) { return line.substr(0, std::size_t(columns - 1)); };
  std::vector<std::string> lines = {fit(StatusLine(status))};
  if (const std::string meters = MeterRow(status, columns); !meters.empty()) lines.push_back(meters);
  if (Help)
    for (const std::string& line : PlayKeyHelp) lines.push_back(fit(line));
  return lines;
}

// Each line overwritten and its rest erased, which does not flicker as
// erasing the whole area first would.
void TPlayScreen::Draw(const std::vector<std::string>& lines) {
  std::string text = Home();
  for (std::size_t k = 0; k < lines.size(); ++k) text += (k > 0 ? "\n" : "") + lines[k] + "\x1b[K";
  Out << text << "\x1b[J" << std::flush;
  Drawn = lines.size();
  Shown = lines;
}

std::string TPlayScreen::Home() const { return Drawn > 1 ? "\r\x1b[" + std::to_string(Drawn - 1) + "A" : "\r"; }
