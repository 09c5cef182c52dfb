#include "scene/mesh_operations.h"

#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

float Stored(long double value) { return static_cast<float>(value); }

void Scale(TMeshState& mesh, long double factor) {
  for (MeshVertex& v : mesh.Vertices)
    if (mesh.Clip.Contains(v)) {
      v.X = Stored(v.X * factor);
      v.Y = Stored(v.Y * factor);
      v.Z = Stored(v.Z * factor);
    }
  mesh.LookupStale = true;
}

// The coordinates of a vertex that one smoothing pass averages.
struct TPositionFields {
  static constexpr std::size_t Count = 3;
  static float& Field(MeshVertex& v, std::size_t k) { return k == 0 ? v.X : k == 1 ? v.Y : v.Z; }
};

struct TTexCoordFields {
  static constexpr std::size_t Count = 2;
  static float& Field(MeshVertex& v, std::size_t k) { return k == 0 ? v.S : v.T; }
};

// Sums are stored as floats after every addition, as the vertices hold them.
template <typename Fields>
void Smooth(TMeshState& mesh) {
  std::vector<std::array<float, Fields::Count>> means(mesh.Vertices.size());
  for (std::size_t v = 0; v < mesh.Vertices.size(); ++v) {
    MeshVertex& vertex = mesh.Vertices[v];
    if (!mesh.Clip.Contains(vertex)) continue;
    auto& mean = means[v];
    for (std::size_t k = 0; k < Fields::Count; ++k) mean[k] = Fields::Field(vertex, k);
    for (const std::int32_t neighbour : vertex.Neighbours) {
      MeshVertex& other = mesh.Vertices[static_cast<std::size_t>(neighbour)];
      for (std::size_t k = 0; k < Fields::Count; ++k)
        mean[k] = Stored(static_cast<long double>(mean[k]) + Fields::Field(other, k));
    }
    const long double weight = static_cast<long double>(vertex.Neighbours.size()) + 1.0L;
    for (std::size_t k = 0; k < Fields::Count; ++k) mean[k] = Stored(mean[k] / weight);
  }
  for (std::size_t v = 0; v < mesh.Vertices.size(); ++v) {
    MeshVertex& vertex = mesh.Vertices[v];
    if (!mesh.Clip.Contains(vertex)) continue;
    for (std::size_t k = 0; k < Fields::Count; ++k) Fields::Field(vertex, k) = means[v][k];
  }
}

// Each coordinate is stored before the next one is computed from it.
template <int Variant>
void DeformVertex(MeshVertex& v) {
  const auto bend = [](long double c, long double amount, long double angle) {
    return Stored(c + amount * std::sin(angle));
  };
  if constexpr (Variant == 0) {
    v.X = bend(v.X, 0.1L, (v.X + 1.0L) * Pi);
    v.Y = bend(v.Y, 0.1L, (v.Y + 1.0L) * Pi);
    v.Z = bend(v.Z, 0.1L, (v.Z + 1.0L) * Pi);
  } else if constexpr (Variant == 1) {
    v.X = bend(v.X, 0.12L, (v.X + 1.0L) * 2.0L * Pi);
    v.Y = bend(v.Y, 0.12L, (v.Y + 1.0L) * 2.0L * Pi);
    v.Z = bend(v.Z, 0.12L, (v.Z + 1.0L) * 2.0L * Pi);
  } else if constexpr (Variant == 2) {
    v.X = bend(v.X, 0.12L, (v.X + 1.0L + v.Z / 2.0L) * Pi);
    v.Y = bend(v.Y, 0.12L, (v.Y + 1.0L + v.X / 2.0L) * Pi);
    v.Z = bend(v.Z, 0.12L, (v.Z + 1.0L + v.Y / 2.0L) * Pi);
  } else if constexpr (Variant == 3) {
    v.X = bend(v.X, 0.12L, static_cast<long double>(v.X) * v.Z * Pi);
    v.Y = bend(v.Y, 0.12L, static_cast<long double>(v.Y) * v.X * Pi);
    v.Z = bend(v.Z, 0.12L, static_cast<long double>(v.Z) * v.Y * Pi);
  } else {
    const auto wave = [](long double c) { return Stored(c + 0.12L * std::sin(Pi * c) * std::cos(2.0L * c * Pi)); };
    v.X = wave(v.X);
    v.Y = wave(v.Y);
    v.Z = wave(v.Z);
  }
}

template <int Variant>
void DeformInside(TMeshState& mesh) {
  for (MeshVertex& v : mesh.Vertices)
    if (mesh.Clip.Contains(v)) DeformVertex<Variant>(v);
  mesh.LookupStale = true;
}

}  // namespace

void Grow(TMeshState& mesh) { Scale(mesh, 1.1L); }

void Shrink(TMeshState& mesh) { Scale(mesh, 0.9L); }

void SmoothPositions(TMeshState& mesh) {
  Smooth<TPositionFields>(mesh);
  mesh.LookupStale = true;
}

void SmoothTexCoords(TMeshState& mesh) { Smooth<TTexCoordFields>(mesh); }

void Deform(TMeshState& mesh, std::uint8_t variant) {
  switch (variant) {
    case 0: DeformInside<0>(mesh); break;
    case 1: DeformInside<1>(mesh); break;
    case 2: DeformInside<2>(mesh); break;
    case 3: DeformInside<3>(mesh); break;
    case 4: DeformInside<4>(mesh); break;
    default: break;
  }
}
