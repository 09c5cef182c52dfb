#pragma once
// The shell's process-wide state, read by the scene: window handles, the key
// state, the scene clock and the scroll mode.
#include <array>
#include <cstdint>

#include "platform/win_types.h"

enum TScrollMode : std::uint8_t { ScrollBackward = 0, ScrollForward = 1, ScrollPaused = 2 };

extern platform::THandle WindowHandle;
extern platform::THandle DeviceContext;
extern platform::THandle RenderContext;
extern platform::THandle InstanceHandle;
extern std::array<bool, 256> Keys;
extern std::int32_t SceneTime;
extern std::int32_t FrameCount;
extern TScrollMode ScrollMode;

// Back to the state at process start, for tests that run the shell twice.
void ResetShellState();
