#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/wave_out.h"
#include "shell/main_loop.h"

int main() {
  platform::TSdlPlatform sdl;
  platform::SetPlatform(&sdl);
  platform::SetWaveOutFactory(platform::CreateSdlWaveOut);
  RunIntro();
  platform::SetPlatform(nullptr);
  return 0;
}
