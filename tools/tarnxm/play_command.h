#pragma once
// tarnxm play FILE...: the songs through the sound device one after another,
// each looping unless --once or --loops, with keys and a status area on a
// terminal and a plain status line a second elsewhere.
#include <ostream>
#include <string>
#include <vector>

struct TPlayConsole {
  int KeysFd = -1;      // where keys come from; -1: none
  bool Status = false;  // a status area on err, redrawn in place
};

// args are the words after "play". Returns the exit status: 0 when a file
// played, 1 when none did (none loaded, or there is no sound device), 2 for
// a usage error. A file that does not load is one line on err, and play goes
// on with the next.
int RunPlay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const TPlayConsole& console);
