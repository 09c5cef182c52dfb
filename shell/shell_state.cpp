#include "shell/shell_state.h"

platform::THandle WindowHandle = 0;
platform::THandle DeviceContext = 0;
platform::THandle RenderContext = 0;
platform::THandle InstanceHandle = 0;
std::array<bool, 256> Keys{};
std::int32_t SceneTime = 0;
std::int32_t FrameCount = 0;
TScrollMode ScrollMode = ScrollBackward;
std::uint32_t LogoTexture = 0;
std::uint32_t FontTexture = 0;
std::uint32_t GeneratedTexture = 0;
std::uint32_t MeshList = 0;

TFrameInput FrameInput() {
  return {.SceneTime = SceneTime,
          .Keys = {.F5 = Keys[platform::VK_F5], .Up = Keys[platform::VK_UP], .Down = Keys[platform::VK_DOWN]},
          .ScrollMode = ScrollMode,
          .LogoTexture = LogoTexture,
          .FontTexture = FontTexture,
          .GeneratedTexture = GeneratedTexture,
          .MeshList = MeshList};
}

void ResetShellState() {
  WindowHandle = DeviceContext = RenderContext = InstanceHandle = 0;
  Keys.fill(false);
  SceneTime = 0;
  FrameCount = 0;
  ScrollMode = ScrollBackward;
  LogoTexture = FontTexture = GeneratedTexture = MeshList = 0;
}
