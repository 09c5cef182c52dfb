#include "scene/vertex_lookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

// The plain search the lookup replaces: the first vertex in creation order.
std::int32_t FirstMatchByScan(const std::vector<MeshVertex>& vertices, float x, float y, float z) {
  for (std::size_t v = 0; v < vertices.size(); ++v)
    if (SamePoint(vertices[v], x, y, z)) return static_cast<std::int32_t>(v);
  return -1;
}

MeshVertex At(float x, float y, float z) { return {x, y, z, 0, 0, {}}; }

// Grid points of spacing 1/n as the cube makes them, their float neighbours,
// points on cell borders, and random points: many lie within 0.1 of others.
std::vector<MeshVertex> TestPoints(std::mt19937& random) {
  std::vector<MeshVertex> points;
  std::uniform_int_distribution<int> gridIndex(-10, 10);
  std::uniform_int_distribution<int> gridSize(1, 12);
  std::uniform_real_distribution<float> coordinate(-1.3f, 1.3f);
  const auto gridValue = [&] {
    const int n = gridSize(random);
    return static_cast<float>(static_cast<long double>(gridIndex(random) % (n + 1)) / n);
  };
  const auto nudged = [&](float c) {
    switch (random() % 4) {
      case 0: return std::nextafter(c, 2.0f);
      case 1: return std::nextafter(c, -2.0f);
      case 2: return c + 0.1f;
      default: return c;
    }
  };
  for (int k = 0; k < 1500; ++k) points.push_back(At(gridValue(), gridValue(), gridValue()));
  for (int k = 0; k < 1000; ++k) {
    const float border = static_cast<float>(static_cast<int>(random() % 21) - 10) * 0.2f;
    points.push_back(At(nudged(border), nudged(gridValue()), nudged(coordinate(random))));
  }
  for (int k = 0; k < 1500; ++k) points.push_back(At(coordinate(random), coordinate(random), coordinate(random)));
  return points;
}

}  // namespace

TEST(VertexLookup, FindsWhatTheLinearSearchFinds) {
  std::mt19937 random(20240611);
  const std::vector<MeshVertex> candidates = TestPoints(random);
  // Files the points as the quad builder does: a point that matches nothing
  // becomes a vertex; every third point is filed even when it matches, so that
  // cells hold overlapping vertices and the lowest number must win.
  std::vector<MeshVertex> vertices;
  TVertexLookup lookup;
  int matches = 0;
  for (std::size_t k = 0; k < candidates.size(); ++k) {
    const MeshVertex& p = candidates[k];
    const std::int32_t expected = FirstMatchByScan(vertices, p.X, p.Y, p.Z);
    ASSERT_EQ(lookup.FindFirst(p.X, p.Y, p.Z, vertices), expected) << p.X << ' ' << p.Y << ' ' << p.Z;
    matches += expected >= 0;
    if (expected < 0 || k % 3 == 0) {
      vertices.push_back(p);
      lookup.Add(static_cast<std::int32_t>(vertices.size() - 1), p);
    }
  }
  EXPECT_GT(matches, 1000);
  EXPECT_GT(vertices.size(), 1000u);
  for (const MeshVertex& p : TestPoints(random))
    ASSERT_EQ(lookup.FindFirst(p.X, p.Y, p.Z, vertices), FirstMatchByScan(vertices, p.X, p.Y, p.Z));
}

TEST(VertexLookup, FarAndNonFinitePositions) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = std::numeric_limits<float>::max();
  const std::vector<MeshVertex> vertices{
      At(inf, 0, 0),       At(nan, 0, 0), At(big, -big, 3e7f), At(1e6f, 0, 0), At(1e6f + 0.0625f, 0, 0),
      At(-big, big, -3e7f)};
  TVertexLookup lookup;
  for (std::size_t v = 0; v < vertices.size(); ++v) lookup.Add(static_cast<std::int32_t>(v), vertices[v]);
  for (const MeshVertex& p : vertices)
    EXPECT_EQ(lookup.FindFirst(p.X, p.Y, p.Z, vertices), FirstMatchByScan(vertices, p.X, p.Y, p.Z)) << p.X;
  EXPECT_EQ(lookup.FindFirst(big, -big, 3e7f, vertices), 2);
  EXPECT_EQ(lookup.FindFirst(1e6f + 0.0625f, 0, 0, vertices), 3);
  EXPECT_EQ(lookup.FindFirst(inf, 0, 0, vertices), -1);
  EXPECT_EQ(lookup.FindFirst(std::nextafter(big, 0.0f), -big, 3e7f, vertices), -1);
}
