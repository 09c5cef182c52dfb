#include "shell/main_loop.h"

#include "platform/platform.h"
#include "shell/intro_hooks.h"
#include "shell/render_window.h"
#include "shell/shell_state.h"

using namespace platform;

std::int32_t SmoothSceneTime(std::int32_t sceneTime, std::uint32_t elapsed) {
  // In 64 bits: after weeks of uptime the sum no longer fits 32.
  return static_cast<std::int32_t>((static_cast<std::int64_t>(sceneTime) + elapsed) / 2);
}

void HandleKeys() {
  if (Keys[VK_SPACE]) {
    ScrollMode = ScrollMode == ScrollPaused ? ScrollBackward : ScrollPaused;
    Keys[VK_SPACE] = false;
  } else if (Keys[VK_UP]) {
    ScrollMode = ScrollBackward;
  } else if (Keys[VK_DOWN]) {
    ScrollMode = ScrollForward;
  }
}

TWParam RunIntro() {
  if (!CreateRenderWindow(800, 600, true, 32)) return 0;
  TPlatform& system = Platform();
  const std::uint32_t start = system.GetTickCount();
  TMessage message;
  TWParam result = 0;
  for (;;) {
    if (system.PeekMessage(message)) {
      result = message.WParam;
      if (message.Message == WM_QUIT) break;
      system.TranslateMessage(message);
      system.DispatchMessage(message);
      continue;
    }
    ++FrameCount;
    const std::uint32_t elapsed = system.GetTickCount() - start;
    SceneTime = SmoothSceneTime(SceneTime, elapsed);
    IntroHooks().DrawScene(FrameInput());
    system.SwapBuffers(DeviceContext);
    if (Keys[VK_ESCAPE]) break;
    HandleKeys();
  }
  DestroyRenderWindow(true);
  return result;
}
