#pragma once
// The text scroller: the scroll position and its per-frame update and drawing.
#include <cstdint>

#include "scene/frame_input.h"

// Number of the line in the top slot; may lie outside the text (an empty slot).
extern std::int32_t TopLine;
// Sub-line offset, in [0, 1] after each update.
extern float ScrollFraction;

// Moves the text by `step` (elapsed time in units of 1500 ms) as the input's
// ScrollMode and its Up and Down keys say, wrapping at the ends of the text.
void AdvanceScroll(const TFrameInput& input, float step);

// Advances by FrameStep and draws the 41 line slots with the input's font
// texture.
void DrawScrollerText(const TFrameInput& input);
