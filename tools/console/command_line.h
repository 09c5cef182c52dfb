#pragma once
// The tools' command lines, read by CLI11 with one behaviour for all: --help
// prints the generated help and exits 0; a usage error is one line on the
// error stream, "TOOL: what is wrong (usage: TOOL --help)", and exit 2.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// args: the words after the program's name. The exit status when the tool is
// done with them (help, version or a usage error); none when it should run.
std::optional<int> ParseCommandLine(CLI::App& app, std::vector<std::string> args, std::ostream& out = std::cout,
                                    std::ostream& err = std::cerr);
std::optional<int> ParseCommandLine(CLI::App& app, int argc, const char* const* argv);
