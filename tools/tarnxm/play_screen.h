#pragma once
// Where tarnxm play shows how it goes. On a terminal: a status area at the
// bottom, redrawn in place ten times a second and fitted to the terminal's
// width, with messages scrolling above it. Elsewhere: the status as a plain
// line once a second, and the messages as lines between them.
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "tools/tarnxm/play_status.h"

class TPlayScreen {
 public:
  // columnsFd: the terminal whose width the area fits (80 columns when it
  // says none).
  TPlayScreen(std::ostream& out, bool terminal, int columnsFd);
  ~TPlayScreen() { Close(); }
  TPlayScreen(const TPlayScreen&) = delete;
  TPlayScreen& operator=(const TPlayScreen&) = delete;

  // Shown when its time has come, or at once when now is true.
  void Show(const TPlayStatus& status, bool now = false);
  // A line on to (the screen's stream or another that shares its terminal),
  // above the area.
  void Print(std::ostream& to, const std::string& line);
  void Message(const std::string& line) { Print(Out, line); }
  // The key list in the area, on and off; printed once where there is no
  // area.
  void ToggleHelp();
  // Leaves the area as it stands and starts a line below it, for what
  // follows.
  void Close();

 private:
  std::vector<std::string> AreaLines(const TPlayStatus& status) const;
  void Draw(const std::vector<std::string>& lines);
  // Back to the start of the area's first line.
  std::string Home() const;

  std::ostream& Out;
  bool Terminal;
  int ColumnsFd;
  bool Help = false;
  std::size_t Drawn = 0;  // lines of the area on the terminal
  std::vector<std::string> Shown;
  TPlayStatus Last;
  std::chrono::steady_clock::time_point ShownAt;
};
