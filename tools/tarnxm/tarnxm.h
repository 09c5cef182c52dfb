#pragma once
// The engine's command-line tool; args are the words after the program name.
#include <ostream>
#include <string>
#include <vector>

#include "tools/tarnxm/usage.h"

int RunTarnXM(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
