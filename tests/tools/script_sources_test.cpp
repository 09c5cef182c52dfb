#include "tools/scripts/script_sources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "resources/intro_scripts.h"

namespace {

std::string ReadSource(const char* path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << path << " (tests run from the repository root)";
  return {std::istreambuf_iterator<char>(file), {}};
}

std::vector<std::uint8_t> Embedded(std::span<const std::uint8_t> script) { return {script.begin(), script.end()}; }

}  // namespace

TEST(ScriptSources, TheShippedMeshScript) {
  const TAssembly assembly = AssembleMeshScript(ReadSource("resources/mesh_script.txt"));
  ASSERT_EQ(assembly.Error, "");
  // Cube 10; SmoothPositions 7; Deform 1 three times; SmoothPositions 4;
  // Shrink 2; Deform 1; SmoothPositions 4; Grow 2; Deform 1; Grow 4;
  // SmoothPositions 5; Deform 1 twice; Grow; SmoothPositions 3; Deform 1;
  // SmoothPositions 4; Grow; Deform 1; SmoothPositions.
  const std::vector<std::uint8_t> expected{0, 10, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 4, 1, 4, 1, 4, 1, 3, 0,
                                           3, 0,  3, 0, 3, 0, 2, 0, 2, 0, 4, 1, 3, 0, 3, 0, 3, 0, 3, 0, 1, 0, 1, 0,
                                           4, 1,  1, 0, 1, 0, 1, 0, 1, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 4, 1, 4, 1,
                                           1, 0,  3, 0, 3, 0, 3, 0, 4, 1, 3, 0, 3, 0, 3, 0, 3, 0, 1, 0, 4, 1, 3, 0};
  EXPECT_EQ(assembly.Bytes, expected);
  EXPECT_EQ(Embedded(IntroMeshScript()), expected);
}

TEST(ScriptSources, TheShippedTextureScript) {
  const TAssembly assembly = AssembleTextureScript(ReadSource("resources/texture_script.txt"));
  ASSERT_EQ(assembly.Error, "");
  // Bitmap of layer 0 with the ring, then 22 Blur passes on layer 0.
  std::vector<std::uint8_t> expected{9, 0};
  expected.resize(2 + 8191, 0);
  for (int i = 0; i < 8191 * 8; ++i) {
    const double distance = std::hypot(i % 256 + 0.5 - 128.0, i / 256 + 0.5 - 128.0);
    if (distance > 88.5 && distance < 113.5) expected[2 + i / 8] |= static_cast<std::uint8_t>(1 << (i % 8));
  }
  for (int k = 0; k < 22; ++k) expected.insert(expected.end(), {5, 0});
  ASSERT_EQ(expected.size(), 8237u);
  EXPECT_EQ(assembly.Bytes, expected);
  EXPECT_EQ(Embedded(IntroTextureScript()), expected);
}

TEST(ScriptSources, RingCoversTheModelRunsOnTheMiddleRow) {
  const std::vector<std::uint8_t> picture = RingPicture(128, 128, 88.5, 113.5);
  ASSERT_EQ(picture.size(), 8191u);
  const auto white = [&](int x, int y) { return (picture[(x + 256 * y) / 8] >> (x % 8)) & 1; };
  for (int x = 0; x < 256; ++x) EXPECT_EQ(white(x, 128), (x >= 15 && x <= 39) || (x >= 216 && x <= 240)) << x;
}

TEST(ScriptSources, RepeatsArgumentsAndErrors) {
  EXPECT_EQ(AssembleMeshScript("Spindle 3 x2 # two spindles\n\nGrow 0\n").Bytes,
            (std::vector<std::uint8_t>{6, 3, 6, 3, 1, 0}));
  EXPECT_EQ(AssembleTextureScript("LayerControl 1 2 128\nLayerControl 1 6\n").Bytes,
            (std::vector<std::uint8_t>{6, 1, 2, 128, 6, 1, 6}));
  EXPECT_EQ(AssembleMeshScript("Grow 0\nTwist 1\n").Error, "line 2: unknown operation Twist");
  EXPECT_EQ(AssembleMeshScript("Cube 256\n").Error, "line 1: not a byte: 256");
  EXPECT_EQ(AssembleTextureScript("Bitmap 0 star 1 2 3 4\n").Error, "line 1: a picture is \"ring CX CY INNER OUTER\"");
}
