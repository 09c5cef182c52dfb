#pragma once
#include <cstdint>
#include <string>

#include "platform/win_types.h"

platform::TLResult WindowProc(platform::THandle window, std::uint32_t message, platform::TWParam wParam,
                              platform::TLParam lParam);

// "DRIFTLOW   [n FPS]" for n frames drawn in one timer period of 1000 ms.
std::string FrameRateTitle(std::int32_t frameCount);
