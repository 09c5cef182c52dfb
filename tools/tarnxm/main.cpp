// tarnxm: the module player's command-line tool.
#include <iostream>

#include "tools/tarnxm/tarnxm.h"

int main(int argc, char** argv) { return RunTarnXM({argv + 1, argv + argc}, std::cout, std::cerr); }
