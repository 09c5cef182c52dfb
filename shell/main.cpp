#include "platform/platform.h"
#include "platform/sdl_platform.h"
#include "shell/main_loop.h"

int main() {
  platform::TSdlPlatform sdl;
  platform::SetPlatform(&sdl);
  RunIntro();
  platform::SetPlatform(nullptr);
  return 0;
}
