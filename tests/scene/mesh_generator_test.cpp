#include "scene/mesh_generator.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "platform/fake_platform.h"
#include "resources/intro_scripts.h"
#include "scene/mesh_operations.h"
#include "scene/mesh_shapes.h"

namespace {

struct TPosition {
  float X, Y, Z;
  bool operator==(const TPosition&) const = default;
};

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (const int value : values) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

// 0xFF, the six bounds, then the closing byte.
std::vector<std::uint8_t> ClipBoxCommand(std::array<float, 6> bounds, std::uint8_t closing = 0xFF) {
  std::vector<std::uint8_t> bytes{0xFF};
  for (const float bound : bounds) {
    const auto bits = std::bit_cast<std::uint32_t>(bound);
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * k)));
  }
  bytes.push_back(closing);
  return bytes;
}

std::vector<std::uint8_t> Join(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TPosition PositionOf(const MeshVertex& v) { return {v.X, v.Y, v.Z}; }

std::vector<TPosition> Positions() {
  std::vector<TPosition> positions;
  for (const MeshVertex& v : Mesh().Vertices) positions.push_back(PositionOf(v));
  return positions;
}

std::uint64_t PositionChecksum() {
  std::uint64_t hash = 14695981039346656037ull;
  for (const MeshVertex& v : Mesh().Vertices)
    for (const float c : {v.X, v.Y, v.Z}) hash = (hash ^ std::bit_cast<std::uint32_t>(c)) * 1099511628211ull;
  return hash;
}

class MeshScript : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetPlatform(&Fake); }
  void TearDown() override { platform::SetPlatform(nullptr); }
  platform::TFakePlatform Fake;
};

}  // namespace

TEST_F(MeshScript, EmptyScriptAndClipBoxesAloneMakeNothing) {
  RunMeshScript({});
  EXPECT_TRUE(Mesh().Vertices.empty());
  EXPECT_TRUE(Mesh().Quads.empty());
  RunMeshScript(Join(ClipBoxCommand({-1, -1, -1, 1, 1, 1}), Bytes({0xFE, 0xFE})));
  EXPECT_TRUE(Mesh().Quads.empty());
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

TEST_F(MeshScript, CubeOneHasTwentyFourQuadsOnTwentySixVertices) {
  RunMeshScript(Bytes({0, 1}));
  EXPECT_EQ(Mesh().Quads.size(), 24u);
  EXPECT_EQ(Mesh().Vertices.size(), 26u);
  RunMeshScript(Bytes({0, 0}));
  EXPECT_TRUE(Mesh().Quads.empty());
}

TEST_F(MeshScript, CornerNeighboursOnePerQuadEdge) {
  RunMeshScript(Bytes({0, 1}));
  const MeshVertex& corner = Mesh().Vertices[0];
  EXPECT_EQ(PositionOf(corner), (TPosition{-1, -1, -1}));
  EXPECT_EQ(corner.S, 0.0f);
  EXPECT_EQ(corner.T, 1.0f);
  std::vector<TPosition> neighbours;
  for (const std::int32_t n : corner.Neighbours) neighbours.push_back(PositionOf(Mesh().Vertices[n]));
  // Faces z = -1, y = -1 and x = -1 of the first grid cell, two edges each.
  const std::vector<TPosition> expected{{0, -1, -1}, {-1, 0, -1}, {0, -1, -1}, {-1, -1, 0}, {-1, 0, -1}, {-1, -1, 0}};
  EXPECT_EQ(neighbours, expected);
}

TEST_F(MeshScript, DiagonalsAreNeverEdges) {
  for (const int size : {1, 2, 3, 5}) {
    RunMeshScript(Bytes({0, size}));
    const auto& vertices = Mesh().Vertices;
    for (const MeshVertex& v : vertices)
      for (const std::int32_t n : v.Neighbours) {
        const MeshVertex& w = vertices[n];
        EXPECT_EQ((v.X == w.X) + (v.Y == w.Y) + (v.Z == w.Z), 2) << "cube " << size;
      }
  }
}

TEST_F(MeshScript, SmoothingWeighsNeighboursListedTwice) {
  RunMeshScript(Bytes({0, 1, 3, 0}));
  // (-1, -1, -1) and each of its three neighbours twice: -5/7 per coordinate.
  const float mean = static_cast<float>(-5.0L / 7.0L);
  EXPECT_EQ(PositionOf(Mesh().Vertices[0]), (TPosition{mean, mean, mean}));
}

TEST_F(MeshScript, ClipBoxIncludesItsFaces) {
  // Only the z = +1 face lies in the box; Grow moves exactly its nine vertices.
  RunMeshScript(Join(Join(Bytes({0, 1}), ClipBoxCommand({-1, -1, 1, 1, 1, 1})), Bytes({1, 0})));
  int grown = 0;
  for (const MeshVertex& v : Mesh().Vertices) {
    if (v.Z > 1.0f) {
      ++grown;
      EXPECT_EQ(v.Z, static_cast<float>(1.1L));
    } else {
      for (const float c : {v.X, v.Y, v.Z}) EXPECT_TRUE(c == -1.0f || c == 0.0f || c == 1.0f) << c;
    }
  }
  EXPECT_EQ(grown, 9);
  EXPECT_TRUE(Fake.MessageBoxes.empty());
  EXPECT_EQ(Mesh().Clip.Enabled, 1);
}

TEST_F(MeshScript, ClipBoxOffAndReversedBounds) {
  RunMeshScript(Bytes({0, 1}));
  const std::vector<TPosition> cube = Positions();
  RunMeshScript(Join(Join(Bytes({0, 1}), ClipBoxCommand({1, -1, -1, -1, 1, 1})), Bytes({1, 0})));
  EXPECT_EQ(Positions(), cube) << "a box with min x > max x holds nothing";
  RunMeshScript(Join(Join(Bytes({0, 1}), ClipBoxCommand({1, -1, -1, -1, 1, 1})), Bytes({0xFE, 1, 0})));
  EXPECT_EQ(Mesh().Vertices[0].X, static_cast<float>(-1.1L));
}

TEST_F(MeshScript, WrongClosingByteWarnsAndStillAppliesTheBox) {
  RunMeshScript(Join(Join(Bytes({0, 1}), ClipBoxCommand({-1, -1, 1, 1, 1, 1}, 0x00)), Bytes({1, 0})));
  ASSERT_EQ(Fake.MessageBoxes, std::vector<std::string>{"hmm: error"});
  EXPECT_EQ(Fake.MessageBoxFlags, std::vector<std::uint32_t>{platform::MB_OK});
  EXPECT_EQ(Mesh().Vertices[0].Z, -1.0f);
  EXPECT_EQ(Mesh().Clip.MinZ, 1.0f);
}

TEST_F(MeshScript, ClipBoxCutShortEndsTheScript) {
  std::vector<std::uint8_t> cut = ClipBoxCommand({-1, -1, -1, 1, 1, 1});
  cut.pop_back();
  RunMeshScript(Join(Bytes({0, 1, 1, 0}), Join(Bytes({0xFE}), cut)));
  EXPECT_EQ(Mesh().Clip.Enabled, 0);
  EXPECT_EQ(Mesh().Vertices[0].X, static_cast<float>(-1.1L));
  RunMeshScript(Bytes({0, 1, 0xFF, 2, 0}));
  EXPECT_EQ(Mesh().Vertices[0].X, -1.0f) << "the Shrink inside the cut command never runs";
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

TEST_F(MeshScript, LastOperationByteRunsWithArgumentZero) {
  RunMeshScript(Bytes({0, 2, 4, 0}));
  const std::vector<TPosition> deformed = Positions();
  RunMeshScript(Bytes({0, 2, 4}));
  EXPECT_EQ(Positions(), deformed);
  EXPECT_EQ(Mesh().Vertices[0].X, static_cast<float>(-1.0L));
  // (-0.5, ., .) moves by 0.1 * sin(0.5 pi).
  bool moved = false;
  for (const MeshVertex& v : Mesh().Vertices) moved |= v.X == static_cast<float>(-0.5L + 0.1L);
  EXPECT_TRUE(moved);
}

TEST_F(MeshScript, DeformAboveFourAndUnknownOperationsChangeNothing) {
  RunMeshScript(Bytes({0, 3}));
  const std::vector<TPosition> cube = Positions();
  std::vector<std::uint8_t> script = Bytes({0, 3});
  for (int n = 5; n <= 255; ++n) script.insert(script.end(), {4, static_cast<std::uint8_t>(n)});
  for (int op = 7; op <= 253; ++op) script.insert(script.end(), {static_cast<std::uint8_t>(op), 1});
  RunMeshScript(script);
  EXPECT_EQ(Positions(), cube);
  EXPECT_EQ(Mesh().Quads.size(), 216u);
  for (int n = 0; n <= 4; ++n) {
    RunMeshScript(Bytes({0, 3, 4, n}));
    EXPECT_NE(Positions(), cube) << "variant " << n;
  }
}

TEST_F(MeshScript, SpindleOneCollapsesItsPolesAndSeam) {
  RunMeshScript(Bytes({6, 1}));
  const auto& mesh = Mesh();
  EXPECT_EQ(mesh.Quads.size(), 12u);
  // One vertex per pole, four per inner ring.
  EXPECT_EQ(mesh.Vertices.size(), 10u);
  EXPECT_EQ(PositionOf(mesh.Vertices[0]), (TPosition{0, -1, 0}));
  const MeshQuad& first = mesh.Quads[0];
  EXPECT_EQ(first.Corners[0], first.Corners[1]);
  // The last segment's closing corners are segment 0's vertices, with t = 0.
  const MeshQuad& seam = mesh.Quads[3];
  EXPECT_EQ(seam.Corners[1], first.Corners[1]);
  EXPECT_EQ(seam.Corners[2], first.Corners[3]);
  EXPECT_EQ(mesh.Vertices[seam.Corners[2]].T, 0.0f);
  std::set<float> heights;
  for (const MeshVertex& v : mesh.Vertices) heights.insert(v.Y);
  EXPECT_EQ(heights.size(), 4u);
}

TEST_F(MeshScript, TheShippedObject) {
  const std::span<const std::uint8_t> script = IntroMeshScript();
  ASSERT_EQ(script.size(), 96u);
  RunMeshScript(script);
  EXPECT_EQ(Mesh().Quads.size(), 2400u);
  // Grid lines of the cube that lie a little under 0.1 apart merge.
  EXPECT_EQ(Mesh().Vertices.size(), 1178u);
  const std::uint64_t checksum = PositionChecksum();
  EXPECT_EQ(checksum, 5299668648916498604ull);
  RunMeshScript(script);
  EXPECT_EQ(PositionChecksum(), checksum);
}

TEST(MeshShapes, ShapesThatWouldPassTheQuadLimitAreLeftOut) {
  TMeshState mesh;
  mesh.Quads.resize(MaxMeshQuads - 24);
  Cube(mesh, 1);
  EXPECT_EQ(mesh.Quads.size(), MaxMeshQuads);
  Cube(mesh, 1);
  Spindle(mesh, 1);
  EXPECT_EQ(mesh.Quads.size(), MaxMeshQuads);
  EXPECT_EQ(mesh.Vertices.size(), 26u);
}

TEST(MeshShapes, MovedVerticesAreFoundWhereTheyAreNow) {
  const auto firstMatch = [](const std::vector<MeshVertex>& vertices, const MeshVertex& p) {
    for (std::size_t u = 0; u < vertices.size(); ++u)
      if (SamePoint(vertices[u], p.X, p.Y, p.Z)) return static_cast<std::int32_t>(u);
    return -1;
  };
  const std::vector<void (*)(TMeshState&)> moves{Grow, Shrink, SmoothPositions, [](TMeshState& m) { Deform(m, 2); }};
  for (std::size_t m = 0; m < moves.size(); ++m) {
    TMeshState mesh;
    Cube(mesh, 3);
    for (int k = 0; k < 3; ++k) moves[m](mesh);
    const std::size_t count = mesh.Vertices.size();
    for (std::size_t v = 0; v < count; ++v) {
      const MeshVertex p = mesh.Vertices[v];
      const MeshPoint corner{p.X, p.Y, p.Z, 0, 0};
      AddQuad(mesh, {corner, corner, corner, corner});
      ASSERT_EQ(mesh.Quads.back().Corners[0], firstMatch(mesh.Vertices, p)) << "move " << m << " vertex " << v;
    }
    EXPECT_EQ(mesh.Vertices.size(), count);
  }
}

TEST_F(MeshScript, ArbitraryBytesStayInsideTheScriptAndTheMesh) {
  std::mt19937 random(11);
  for (int run = 0; run < 300; ++run) {
    std::vector<std::uint8_t> script(random() % 80);
    for (std::uint8_t& byte : script)
      byte = static_cast<std::uint8_t>(random() % 4 == 0 ? 0xF8 + random() % 8 : random() % 8);
    // Small shapes keep the run short; the other bytes are as they come.
    for (std::size_t k = 0; k + 1 < script.size(); ++k)
      if (script[k] == 0 || script[k] == 6) script[k + 1] %= 4;
    RunMeshScript(script);
    const auto& mesh = Mesh();
    for (const MeshQuad& quad : mesh.Quads)
      for (const std::int32_t corner : quad.Corners) ASSERT_LT(static_cast<std::size_t>(corner), mesh.Vertices.size());
    for (const MeshVertex& v : mesh.Vertices)
      for (const std::int32_t n : v.Neighbours) ASSERT_LT(static_cast<std::size_t>(n), mesh.Vertices.size());
  }
  for (const std::string& box : Fake.MessageBoxes) EXPECT_EQ(box, "hmm: error");
}
