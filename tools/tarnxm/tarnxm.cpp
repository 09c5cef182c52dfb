#include "tools/tarnxm/tarnxm.h"

#include <unistd.h>

#include <iostream>

#include "tools/tarnxm/info_command.h"
#include "tools/tarnxm/play_command.h"
#include "tools/tarnxm/render_command.h"

const char* const TarnXMUsage =
    "usage: tarnxm info [--json] FILE    the facts of an XM or MOD module\n"
    "       tarnxm render FILE -o OUT.wav [--seconds S] [--rate HZ] [--mono]\n"
    "                     [--interpolation none|linear|cubic|sinc] [--no-clip]\n"
    "                                    the song to its end (or for S seconds) as a 16-bit WAV\n"
    "       tarnxm play FILE [--once] [--rate HZ] [--mono]\n"
    "                   [--interpolation none|linear|cubic|sinc] [--no-clip]\n"
    "                                    the song through the sound device, looping unless --once;\n"
    "                                    Space pauses, q or Escape quits\n";

int RunTarnXM(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    out << TarnXMUsage;
    return 0;
  }
  if (!args.empty() && args[0] == "info") return RunInfo({args.begin() + 1, args.end()}, out, err);
  // The progress bar is for a person watching the terminal.
  if (!args.empty() && args[0] == "render")
    return RunRender({args.begin() + 1, args.end()}, out, err, &err == &std::cerr && isatty(STDERR_FILENO));
  // Keys and the status line are for a person at the terminal.
  if (!args.empty() && args[0] == "play") {
    const bool terminal = &err == &std::cerr && isatty(STDERR_FILENO);
    return RunPlay({args.begin() + 1, args.end()}, out, err,
                   {terminal && isatty(STDIN_FILENO) ? STDIN_FILENO : -1, terminal});
  }
  err << (args.empty() ? "tarnxm: no command\n" : "tarnxm: unknown command " + args[0] + "\n") << TarnXMUsage;
  return 2;
}
