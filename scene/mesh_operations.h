#pragma once
// The whole-mesh operations: each applies to the vertices inside the clip box.
#include <cstdint>

#include "scene/mesh_state.h"

void Grow(TMeshState& mesh);
void Shrink(TMeshState& mesh);
// Every vertex becomes the mean of itself and its neighbour list, all computed
// from the positions before the pass.
void SmoothPositions(TMeshState& mesh);
void SmoothTexCoords(TMeshState& mesh);
// Sine deformation variant 0..4; other variants do nothing.
void Deform(TMeshState& mesh, std::uint8_t variant);
