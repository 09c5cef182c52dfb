#pragma once
// tarnxm play FILE: the song through the sound device, looping unless
// --once, with a one-line status and keys on a terminal.
#include <ostream>
#include <string>
#include <vector>

struct TPlayConsole {
  int KeysFd = -1;      // where keys come from; -1: none
  bool Status = false;  // a status line on err, redrawn in place
};

// args are the words after "play". Returns the exit status: 0, 1 when the
// file does not load or there is no sound device, 2 for a usage error.
int RunPlay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const TPlayConsole& console);
