#pragma once
// The base shapes of the mesh generator and the quad builder they share.
#include <array>
#include <cstddef>
#include <cstdint>

#include "scene/mesh_state.h"

// Two cubes of subdivision 255 fit; a shape that would take the mesh past
// this many quads is not added at all.
constexpr std::size_t MaxMeshQuads = std::size_t{1} << 22;

// Appends a quad: each corner takes the first vertex in creation order that is
// the same point, or a new one; corners agreeing in two coordinates are edges.
void AddQuad(TMeshState& mesh, const std::array<MeshPoint, 4>& corners);

// The cube [-1, 1]^3, every face cut into 2n x 2n quads.
void Cube(TMeshState& mesh, std::uint8_t n);
// A closed surface of revolution about the y axis: 3n rings of 4n segments.
void Spindle(TMeshState& mesh, std::uint8_t n);
