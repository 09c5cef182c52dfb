#pragma once
// When each part of the frame comes in, in milliseconds of scene time.
#include <cstdint>

struct TChoreography {
  // The logo fades in from black.
  std::int32_t LogoFadeEnd = 1000;
  // Its band eases up from the middle to the top.
  std::int32_t BandSlideStart = 3000;
  std::int32_t BandSlideEnd = 4000;
  // The underline grows out of the centre.
  std::int32_t UnderlineStart = 4000;
  std::int32_t UnderlineEnd = 5000;
  // Squares, rings and mesh, under a black cover that fades away.
  std::int32_t BackgroundStart = 5000;
  std::int32_t CoverEnd = 12500;
  // The panel behind the text darkens, and the text scrolls in front of it.
  std::int32_t PanelStart = 16000;
  std::int32_t PanelEnd = 18000;
  std::int32_t ScrollerStart = 17000;
};

inline constexpr TChoreography Cues;
