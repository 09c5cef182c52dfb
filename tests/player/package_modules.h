#pragma once
// The XM and MOD modules of three Debian game-data packages, written by
// people who never saw this player; empty where the packages are not
// installed (scripts/install-deps test installs them).
#include <string>
#include <vector>

std::vector<std::string> PackageModules();
