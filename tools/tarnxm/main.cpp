// tarnxm: the module player's command-line tool.
#include <iostream>

#include "platform/wave_out.h"
#include "tools/tarnxm/tarnxm.h"

int main(int argc, char** argv) {
  platform::SetWaveOutFactory(platform::CreateSdlWaveOut);
  return RunTarnXM({argv + 1, argv + argc}, std::cout, std::cerr);
}
