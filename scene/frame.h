#pragma once
// One frame of the intro: the timed choreography driven by SceneTime.
#include <cstdint>

extern std::uint32_t LogoTexture;
extern std::uint32_t FontTexture;
extern std::uint32_t GeneratedTexture;
extern std::uint32_t MeshList;
extern std::int32_t PrevSceneTime;
extern float FrameStep;

void DrawScene();
void DrawPulseSquares(std::int32_t t);

// The quadratic Bezier (1-s)^2 p0 + 2(1-s)s p1 + s^2 p2 in extended precision.
float QuadBezier(long double s, long double p0, long double p1, long double p2);
