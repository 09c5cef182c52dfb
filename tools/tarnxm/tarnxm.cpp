#include "tools/tarnxm/tarnxm.h"

#include "tools/tarnxm/info_command.h"

const char* const TarnXMUsage = "usage: tarnxm info [--json] FILE    the facts of an XM or MOD module\n";

int RunTarnXM(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    out << TarnXMUsage;
    return 0;
  }
  if (!args.empty() && args[0] == "info") return RunInfo({args.begin() + 1, args.end()}, out, err);
  err << (args.empty() ? "tarnxm: no command\n" : "tarnxm: unknown command " + args[0] + "\n") << TarnXMUsage;
  return 2;
}
