#include "scene/mesh_shapes.h"

#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

bool IsEdge(const MeshPoint& a, const MeshPoint& b) {
  return WithinTolerance(a.X, b.X) + WithinTolerance(a.Y, b.Y) + WithinTolerance(a.Z, b.Z) >= 2;
}

bool Fits(const TMeshState& mesh, std::size_t quads) { return quads <= MaxMeshQuads - mesh.Quads.size(); }

std::int32_t FindOrAddVertex(TMeshState& mesh, const MeshPoint& p) {
  const std::int32_t found = mesh.Lookup.FindFirst(p.X, p.Y, p.Z, mesh.Vertices);
  if (found >= 0) return found;
  const auto number = static_cast<std::int32_t>(mesh.Vertices.size());
  mesh.Vertices.push_back({p.X, p.Y, p.Z, p.S, p.T, {}});
  mesh.Lookup.Add(number, mesh.Vertices.back());
  return number;
}

void RefileVertices(TMeshState& mesh) {
  mesh.Lookup.Clear();
  for (std::size_t v = 0; v < mesh.Vertices.size(); ++v)
    mesh.Lookup.Add(static_cast<std::int32_t>(v), mesh.Vertices[v]);
  mesh.LookupStale = false;
}

// The cube's grid coordinate p / n and texture coordinate (n + p) / (2n).
struct TCubeGrid {
  float A;
  float G;
  float OneMinusG;
};

TCubeGrid CubeGrid(int p, int n) {
  const long double g = static_cast<long double>(n + p) / (2 * n);
  return {static_cast<float>(static_cast<long double>(p) / n), static_cast<float>(g), static_cast<float>(1.0L - g)};
}

MeshPoint CubeCorner(int face, const TCubeGrid& p, const TCubeGrid& q) {
  switch (face) {
    case 0: return {p.A, q.A, -1.0f, p.G, q.OneMinusG};
    case 1: return {p.A, q.A, 1.0f, p.G, q.G};
    case 2: return {p.A, -1.0f, q.A, p.G, q.G};
    case 3: return {p.A, 1.0f, q.A, p.G, q.G};
    case 4: return {-1.0f, p.A, q.A, q.OneMinusG, p.G};
    default: return {1.0f, p.A, q.A, p.G, q.G};
  }
}

MeshPoint SpindlePoint(int i, int j, int rings, int segments) {
  const long double r = std::sin(Pi * i / rings);
  const long double angle = 2.0L * Pi * j / segments;
  return {static_cast<float>(r * std::sin(angle)),
          static_cast<float>((static_cast<long double>(i) / rings - 0.5L) * 2.0L),
          static_cast<float>(r * std::cos(angle)), static_cast<float>(static_cast<long double>(i) / rings),
          static_cast<float>(static_cast<long double>(j) / segments)};
}

void Accumulate(TMeshState& mesh, const MeshPoint& p) {
  mesh.Accumulator[static_cast<std::size_t>(mesh.AccumulatorCount)] = p;
  if (++mesh.AccumulatorCount == 4) {
    AddQuad(mesh, mesh.Accumulator);
    mesh.AccumulatorCount = 0;
  }
}

}  // namespace

void AddQuad(TMeshState& mesh, const std::array<MeshPoint, 4>& corners) {
  if (mesh.LookupStale) RefileVertices(mesh);
  MeshQuad quad;
  for (std::size_t k = 0; k < 4; ++k) quad.Corners[k] = FindOrAddVertex(mesh, corners[k]);
  mesh.Quads.push_back(quad);
  static constexpr std::size_t Pairs[6][2] = {{1, 0}, {2, 0}, {3, 0}, {2, 1}, {3, 1}, {3, 2}};
  for (const auto& [first, second] : Pairs) {
    if (!IsEdge(corners[first], corners[second])) continue;
    const std::int32_t a = quad.Corners[first];
    const std::int32_t b = quad.Corners[second];
    mesh.Vertices[static_cast<std::size_t>(b)].Neighbours.push_back(a);
    mesh.Vertices[static_cast<std::size_t>(a)].Neighbours.push_back(b);
  }
}

void Cube(TMeshState& mesh, std::uint8_t n) {
  const int size = n;
  if (!Fits(mesh, std::size_t{24} * n * n)) return;
  for (int i = -size; i < size; ++i)
    for (int j = -size; j < size; ++j) {
      const TCubeGrid p0 = CubeGrid(i, size), p1 = CubeGrid(i + 1, size);
      const TCubeGrid q0 = CubeGrid(j, size), q1 = CubeGrid(j + 1, size);
      for (int face = 0; face < 6; ++face)
        AddQuad(mesh, {CubeCorner(face, p0, q0), CubeCorner(face, p1, q0), CubeCorner(face, p1, q1),
                       CubeCorner(face, p0, q1)});
    }
}

void Spindle(TMeshState& mesh, std::uint8_t n) {
  mesh.AccumulatorCount = 0;
  const int rings = 3 * n;
  const int segments = 4 * n;
  if (!Fits(mesh, std::size_t{12} * n * n)) return;
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < segments; ++j) {
      Accumulate(mesh, SpindlePoint(i, j, rings, segments));
      Accumulate(mesh, SpindlePoint(i, j + 1, rings, segments));
      Accumulate(mesh, SpindlePoint(i + 1, j + 1, rings, segments));
      Accumulate(mesh, SpindlePoint(i + 1, j, rings, segments));
    }
}
