#pragma once
// The mesh generator's records: vertices with their neighbour lists, quads,
// the clip box, and the tolerance by which two points are the same.
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

// A corner as a base shape hands it over: position and texture coordinates.
struct MeshPoint {
  float X = 0, Y = 0, Z = 0;
  float S = 0, T = 0;
};

struct MeshVertex {
  float X = 0, Y = 0, Z = 0;
  float S = 0, T = 0;
  // In the order added; an edge shared by two quads is listed twice.
  std::vector<std::int32_t> Neighbours;
};

struct MeshQuad {
  std::array<std::int32_t, 4> Corners{};
};

struct ClipBox {
  std::uint8_t Enabled = 0;
  float MinX = 0, MinY = 0, MinZ = 0;
  float MaxX = 0, MaxY = 0, MaxZ = 0;

  // A bound equal to the coordinate counts as inside.
  bool Contains(const MeshVertex& v) const {
    return !Enabled || (MinX <= v.X && v.X <= MaxX && MinY <= v.Y && v.Y <= MaxY && MinZ <= v.Z && v.Z <= MaxZ);
  }
};

// The difference of two floats is exact in extended precision. In double it
// is off by far less than the margin around 0.1 that settles most pairs
// without the slower extended arithmetic.
inline bool WithinTolerance(float a, float b) {
  const double nearDifference = std::fabs(static_cast<double>(a) - static_cast<double>(b));
  if (nearDifference < 0.0999) return true;
  if (nearDifference > 0.1001) return false;
  return std::fabs(static_cast<long double>(a) - static_cast<long double>(b)) < 0.1L;
}

inline bool SamePoint(const MeshVertex& v, float x, float y, float z) {
  return WithinTolerance(v.X, x) && WithinTolerance(v.Y, y) && WithinTolerance(v.Z, z);
}
