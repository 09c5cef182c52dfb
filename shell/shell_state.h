#pragma once
// The shell's process-wide state: window handles, the key state, the scene
// clock, the scroll mode and what the start-up made for the scene to draw
// with. The scene sees it only as the input each frame is given.
#include <array>
#include <cstdint>

#include "platform/win_types.h"
#include "scene/frame_input.h"

extern platform::THandle WindowHandle;
extern platform::THandle DeviceContext;
extern platform::THandle RenderContext;
extern platform::THandle InstanceHandle;
extern std::array<bool, 256> Keys;
extern std::int32_t SceneTime;
extern std::int32_t FrameCount;
extern TScrollMode ScrollMode;
// 0 until the start-up has made them, and for a texture that failed to load.
extern std::uint32_t LogoTexture;
extern std::uint32_t FontTexture;
extern std::uint32_t GeneratedTexture;
extern std::uint32_t MeshList;

// The scene's input for the next frame, from the state above.
TFrameInput FrameInput();

// Back to the state at process start, for tests that run the shell twice.
void ResetShellState();
