#include "tools/tarnxm/tarnxm.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "tools/tarnxm/info_command.h"
#include "tools/tarnxm/play_command.h"
#include "tools/tarnxm/render_command.h"

namespace {

bool AsksForHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin() + 1, args.end(),
                     [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

}  // namespace

int RunTarnXM(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    out << TarnXMUsage;
    return 0;
  }
  if (!args.empty() && args[0] == "--version") {
    out << TarnXMVersion;
    return 0;
  }
  const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
  if (!args.empty() && args[0] == "info") {
    if (AsksForHelp(args)) return out << InfoUsage, 0;
    return RunInfo(rest, out, err);
  }
  // The progress bar is for a person watching the terminal.
  if (!args.empty() && args[0] == "render") {
    if (AsksForHelp(args)) return out << RenderUsage, 0;
    return RunRender(rest, out, err, &err == &std::cerr && isatty(STDERR_FILENO));
  }
  // Keys and the status line are for a person at the terminal.
  if (!args.empty() && args[0] == "play") {
    if (AsksForHelp(args)) return out << PlayUsage, 0;
    const bool terminal = &err == &std::cerr && isatty(STDERR_FILENO);
    return RunPlay(rest, out, err, {terminal && isatty(STDIN_FILENO) ? STDIN_FILENO : -1, terminal});
  }
  err << (args.empty() ? "tarnxm: no command\n" : "tarnxm: unknown command " + args[0] + "\n") << TarnXMUsage;
  return 2;
}
