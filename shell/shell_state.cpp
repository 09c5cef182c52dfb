#include "shell/shell_state.h"

platform::THandle WindowHandle = 0;
platform::THandle DeviceContext = 0;
platform::THandle RenderContext = 0;
platform::THandle InstanceHandle = 0;
std::array<bool, 256> Keys{};
std::int32_t SceneTime = 0;
std::int32_t FrameCount = 0;
TScrollMode ScrollMode = ScrollBackward;

void ResetShellState() {
  WindowHandle = DeviceContext = RenderContext = InstanceHandle = 0;
  Keys.fill(false);
  SceneTime = 0;
  FrameCount = 0;
  ScrollMode = ScrollBackward;
}
