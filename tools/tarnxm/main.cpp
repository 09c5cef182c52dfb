// tarnxm: the module player's command-line tool.
#include <unistd.h>

#include <iostream>

#include "platform/wave_out.h"
#include "tools/tarnxm/tarnxm.h"

int main(int argc, char** argv) {
  platform::SetWaveOutFactory(platform::CreateSdlWaveOut);
  // Keys, the status area and the progress bar are for a person at the terminal.
  const bool terminal = isatty(STDERR_FILENO) == 1;
  return RunTarnXM({argv + 1, argv + argc}, std::cout, std::cerr,
                   {terminal && isatty(STDIN_FILENO) == 1 ? STDIN_FILENO : -1, terminal});
}
