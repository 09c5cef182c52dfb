#include "scene/scroller.h"

std::int32_t TopLine = -40;
float ScrollFraction = 0.0f;

void DrawScrollerText() {}
