#pragma once
#include <cstdint>

#include "platform/win_types.h"

// The intro: window, loop, teardown. Its result is the last message's wParam.
platform::TWParam RunIntro();

// The smoothed clock: halfway from the previous scene time to the elapsed time.
std::int32_t SmoothSceneTime(std::int32_t sceneTime, std::uint32_t elapsed);

void HandleKeys();
