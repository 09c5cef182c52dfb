#pragma once
// One frame of the intro: the timed choreography (scene/choreography.h) at the
// input's SceneTime.
#include <cstdint>

#include "scene/frame_input.h"

// The scene time of the frame drawn last, and the time since it in units of
// 1500 ms, which the scroller moves by.
extern std::int32_t PrevSceneTime;
extern float FrameStep;

void DrawScene(const TFrameInput& input);
void DrawPulseSquares(std::int32_t t);

// The quadratic Bezier (1-s)^2 p0 + 2(1-s)s p1 + s^2 p2 in extended precision.
float QuadBezier(long double s, long double p0, long double p1, long double p2);
