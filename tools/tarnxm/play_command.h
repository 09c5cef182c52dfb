#pragma once
// tarnxm play FILE...: the songs through the sound device one after another,
// each looping unless --once or --loops, with keys and a status area on a
// terminal and a plain status line a second elsewhere.
#include <ostream>
#include <string>
#include <vector>

#include "tools/tarnxm/sound_options.h"
#include "tools/tarnxm/tarnxm.h"

namespace CLI {
class App;
}

struct TPlayOptions {
  std::vector<std::string> Inputs;
  TSoundOptions Sound;
};

// The play command on the tool, set into options as it is read.
CLI::App* AddPlayCommand(CLI::App& tool, TPlayOptions& options);

// Returns the exit status: 0 when a file played, 1 when none did (none
// loaded, or there is no sound device). A file that does not load is one line
// on err, and play goes on with the next. The status area goes on err where
// the console is a terminal.
int RunPlay(const TPlayOptions& options, std::ostream& out, std::ostream& err, const TConsole& console);
