#include "scene/vertex_lookup.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr std::uint64_t EmptyKey = ~std::uint64_t{0};
constexpr int CellBits = 21;
constexpr std::int64_t CellLimit = std::int64_t{1} << (CellBits - 1);

// Cells are 0.2 wide: cell index floor(5 * c). Five times a float is exact in
// extended precision. Indices are clamped to 21 bits; clamping keeps indices
// that differ by at most one within one of each other.
std::int64_t ClampCell(long double index, std::int64_t highest) {
  return static_cast<std::int64_t>(
      std::clamp(index, static_cast<long double>(-CellLimit), static_cast<long double>(highest)));
}

std::int64_t CellOf(float c) { return ClampCell(std::floor(5.0L * c), CellLimit - 1); }

// The lower of the two cells that can hold a point within 0.1 of c.
std::int64_t LowerCellNear(float c) { return ClampCell(std::floor(5.0L * c - 0.5L), CellLimit - 2); }

std::uint64_t CellKey(std::int64_t x, std::int64_t y, std::int64_t z) {
  const auto field = [](std::int64_t index) { return static_cast<std::uint64_t>(index + CellLimit); };
  return (field(x) << (2 * CellBits)) | (field(y) << CellBits) | field(z);
}

std::size_t Slot(std::uint64_t key, std::size_t capacity) {
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (capacity - 1);
}

bool Finite(float x, float y, float z) { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

}  // namespace

void TVertexLookup::Clear() {
  Cells.clear();
  Used = 0;
  Next.clear();
}

TVertexLookup::TCell* TVertexLookup::FindCell(std::uint64_t key) {
  return const_cast<TCell*>(std::as_const(*this).FindCell(key));
}

const TVertexLookup::TCell* TVertexLookup::FindCell(std::uint64_t key) const {
  if (Cells.empty()) return nullptr;
  for (std::size_t slot = Slot(key, Cells.size());; slot = (slot + 1) & (Cells.size() - 1)) {
    if (Cells[slot].Key == key) return &Cells[slot];
    if (Cells[slot].Key == EmptyKey) return nullptr;
  }
}

void TVertexLookup::Grow() {
  std::vector<TCell> old(std::max<std::size_t>(Cells.size() * 2, 1024), TCell{EmptyKey, -1, -1});
  old.swap(Cells);
  for (const TCell& cell : old) {
    if (cell.Key == EmptyKey) continue;
    std::size_t slot = Slot(cell.Key, Cells.size());
    while (Cells[slot].Key != EmptyKey) slot = (slot + 1) & (Cells.size() - 1);
    Cells[slot] = cell;
  }
}

void TVertexLookup::Add(std::int32_t number, const MeshVertex& vertex) {
  Next.resize(static_cast<std::size_t>(number) + 1, -1);
  // A coordinate that is infinite or not a number is never within 0.1 of anything.
  if (!Finite(vertex.X, vertex.Y, vertex.Z)) return;
  const std::uint64_t key = CellKey(CellOf(vertex.X), CellOf(vertex.Y), CellOf(vertex.Z));
  if (TCell* cell = FindCell(key)) {
    Next[static_cast<std::size_t>(cell->Last)] = number;
    cell->Last = number;
    return;
  }
  if ((Used + 1) * 2 > Cells.size()) Grow();
  std::size_t slot = Slot(key, Cells.size());
  while (Cells[slot].Key != EmptyKey) slot = (slot + 1) & (Cells.size() - 1);
  Cells[slot] = {key, number, number};
  ++Used;
}

std::int32_t TVertexLookup::FindFirst(float x, float y, float z, std::span<const MeshVertex> vertices) const {
  if (!Finite(x, y, z)) return -1;
  const std::int64_t cellX = LowerCellNear(x);
  const std::int64_t cellY = LowerCellNear(y);
  const std::int64_t cellZ = LowerCellNear(z);
  std::int32_t best = std::numeric_limits<std::int32_t>::max();
  for (std::int64_t dx = 0; dx < 2; ++dx)
    for (std::int64_t dy = 0; dy < 2; ++dy)
      for (std::int64_t dz = 0; dz < 2; ++dz) {
        const TCell* cell = FindCell(CellKey(cellX + dx, cellY + dy, cellZ + dz));
        if (!cell) continue;
        for (std::int32_t v = cell->First; v >= 0 && v < best; v = Next[static_cast<std::size_t>(v)])
          if (SamePoint(vertices[static_cast<std::size_t>(v)], x, y, z)) {
            best = v;
            break;
          }
      }
  return best == std::numeric_limits<std::int32_t>::max() ? -1 : best;
}
