#pragma once
// Paints the title: tubes of chrome along the letters' strokes, each with a
// dark rim and a blue glow, over black, and a faint reflection below.
#include <cstdint>
#include <vector>

#include "tools/logo/logo_shapes.h"

// RGB bytes, rows from the top.
std::vector<std::uint8_t> RenderLogo(const TLogoShapes& shapes);
