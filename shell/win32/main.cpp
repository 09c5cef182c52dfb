#include "platform/platform.h"
#include "platform/wave_out.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "shell/main_loop.h"

// The process ends with exit code 0 whatever the intro returned.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::TWin32Platform win32;
  platform::SetPlatform(&win32);
  platform::SetWaveOutFactory(platform::CreateWinmmWaveOut);
  RunIntro();
  platform::SetPlatform(nullptr);
  return 0;
}
