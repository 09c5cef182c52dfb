#pragma once
// The engine's command-line tool; args are the words after the program name.
#include <ostream>
#include <string>
#include <vector>

// What the tool may do with the terminal it runs at.
struct TConsole {
  int KeysFd = -1;        // where play reads keys from; -1: none
  bool Terminal = false;  // err is a terminal: play's status area and render's progress bar are drawn on it
};

int RunTarnXM(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const TConsole& console = {});
