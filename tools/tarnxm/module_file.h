#pragma once
// Loading a module from a file for the tool's commands.
#include <string>

#include "player/module.h"

// False with the reason in error ("cannot read: ...", "too large to be a
// module", or why the loader refused the data).
bool LoadModuleFile(const std::string& path, TTarnXMModule& module, std::string& error);
