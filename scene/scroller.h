#pragma once
// The text scroller: the scroll position and its per-frame update and drawing.
#include <cstdint>

// Number of the line in the top slot; may lie outside the text (an empty slot).
extern std::int32_t TopLine;
// Sub-line offset, in [0, 1] after each update.
extern float ScrollFraction;

// Moves the text by `step` (elapsed time in units of 1500 ms) as ScrollMode
// and the Up and Down keys say, wrapping at the ends of the text.
void AdvanceScroll(float step);

// Advances by FrameStep and draws the 41 line slots with the font texture.
void DrawScrollerText();
