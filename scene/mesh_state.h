#pragma once
// Everything one mesh script works on: the vertex and quad lists, the clip box,
// the quad accumulator of the spindle and the vertex lookup.
#include <array>
#include <vector>

#include "scene/mesh.h"
#include "scene/vertex_lookup.h"

struct TMeshState {
  std::vector<MeshVertex> Vertices;
  std::vector<MeshQuad> Quads;
  ClipBox Clip;
  std::array<MeshPoint, 4> Accumulator{};
  int AccumulatorCount = 0;
  TVertexLookup Lookup;
  // Set by every operation that moves vertices; the lookup is filed anew
  // before the next quad is added.
  bool LookupStale = false;
};
