#pragma once
// The mesh generator: a byte script builds a quad mesh from base shapes and
// whole-mesh operations, which is compiled into an OpenGL display list.
#include <cstdint>
#include <span>

#include "scene/mesh_state.h"

// Runs the script on a freshly reset mesh (the clip box's bounds are kept).
// A clip-box command cut short ends the script.
void RunMeshScript(std::span<const std::uint8_t> script);

// The mesh as the last script left it.
const TMeshState& Mesh();

// Runs the script and compiles the mesh's quads into a new display list, whose
// name is returned. Needs a current rendering context.
std::uint32_t GenerateMesh(std::span<const std::uint8_t> script);
