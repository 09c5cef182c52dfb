#pragma once
// Finds the first vertex, in creation order, that is the same point as a given
// position (every coordinate within 0.1), without searching the whole list.
// Vertices are filed in a hash grid of cells 0.2 wide, so a match lies in one
// of the 2 x 2 x 2 cells around the position; each cell keeps its vertices in
// ascending order and the lowest match over those cells is the answer.
#include <cstdint>
#include <span>
#include <vector>

#include "scene/mesh.h"

class TVertexLookup {
 public:
  void Clear();
  // Files vertex `number` at its position; numbers come in increasing order.
  void Add(std::int32_t number, const MeshVertex& vertex);
  // The lowest-numbered vertex of `vertices` that is the same point as (x, y,
  // z), or -1. `vertices` must be the list whose vertices were added, unmoved.
  std::int32_t FindFirst(float x, float y, float z, std::span<const MeshVertex> vertices) const;

 private:
  struct TCell {
    std::uint64_t Key;
    std::int32_t First;
    std::int32_t Last;
  };

  TCell* FindCell(std::uint64_t key);
  const TCell* FindCell(std::uint64_t key) const;
  void Grow();

  std::vector<TCell> Cells;
  std::size_t Used = 0;
  // The next vertex in the same cell, -1 at the end of a cell.
  std::vector<std::int32_t> Next;
};
