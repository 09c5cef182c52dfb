#include "tools/console/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace {

// "tarnxm render": the tool and the command whose words were wrong.
std::string CommandName(const CLI::App& app) {
  std::string name = app.get_name();
  for (const CLI::App* command = &app; !command->get_subcommands().empty();) {
    command = command->get_subcommands().front();
    name += " " + command->get_name();
  }
  return name;
}

}  // namespace

std::optional<int> ParseCommandLine(CLI::App& app, std::vector<std::string> args, std::ostream& out,
                                    std::ostream& err) {
  app.get_formatter()->label("Usage", "usage");
  // CLI11 takes the words from the back.
  std::reverse(args.begin(), args.end());
  try {
    app.parse(args);
  } catch (const CLI::Success& done) {
    return app.exit(done, out, err);
  } catch (const CLI::ParseError& error) {
    const std::string name = CommandName(app);
    err << name << ": " << error.what() << " (usage: " << name << " --help)\n";
    return 2;
  }
  return std::nullopt;
}

std::optional<int> ParseCommandLine(CLI::App& app, int argc, const char* const* argv) {
  return ParseCommandLine(app, std::vector<std::string>(argv + 1, argv + argc));
}
