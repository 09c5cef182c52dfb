#pragma once
// The text scroller: its scroll state and the per-frame drawing.
#include <cstdint>

extern std::int32_t TopLine;
extern float ScrollFraction;

void DrawScrollerText();
