// The generators' OpenGL side, on a real context: the uploaded texture, the
// compiled display list, and the intro's frame at 9 s with both in place.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "platform/gl.h"
#include "platform/offscreen_context.h"
#include "resources/intro_scripts.h"
#include "scene/mesh_generator.h"
#include "scene/texture_generator.h"
#include "shell/shell_state.h"
#include "tools/capture/frame_capture.h"

namespace {

constexpr int Width = 800;
constexpr int Height = 600;

struct TPixel {
  int R, G, B;
};

class GeneratorsGL : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Context = std::make_unique<platform::TOffscreenContext>(Width, Height);
    ASSERT_TRUE(Context->Ok()) << Context->Error();
  }
  static void TearDownTestSuite() { Context.reset(); }
  void SetUp() override { ASSERT_TRUE(Context && Context->Ok()); }

  static inline std::unique_ptr<platform::TOffscreenContext> Context;
};

// Screen position (x right, y down) of an object point under the frame's
// translation (0, 0, -4.5), with 45 degrees vertical field of view.
std::pair<int, int> Project(double x, double y, double z) {
  const double f = 1.0 / std::tan(22.5 * std::acos(-1.0) / 180.0);
  const double eyeZ = z - 4.5;
  return {static_cast<int>((f / (4.0 / 3.0) * x / -eyeZ + 1.0) * Width / 2.0),
          static_cast<int>((1.0 - f * y / -eyeZ) * Height / 2.0)};
}

TPixel At(const std::vector<std::uint8_t>& pixels, std::pair<int, int> p) {
  const std::size_t i = (static_cast<std::size_t>(p.second) * Width + static_cast<std::size_t>(p.first)) * 3;
  return {pixels[i], pixels[i + 1], pixels[i + 2]};
}

// Pixels of the window around the mesh where green rivals blue: the additive
// squares are (0.2, 0.4, 1) times the texture, the wire (0.5, 1, 1).
int CyanPixels(const std::vector<std::uint8_t>& pixels) {
  int count = 0;
  for (int y = 280; y < 500; ++y)
    for (int x = 280; x < 520; ++x) {
      const TPixel p = At(pixels, {x, y});
      count += p.G >= 40 && 4 * p.G >= 3 * p.B;
    }
  return count;
}

}  // namespace

TEST_F(GeneratorsGL, TextureIsUploadedWithItsMipmaps) {
  const std::span<const std::uint8_t> script = IntroTextureScript();
  const std::uint32_t name = GenerateTexture(script);
  EXPECT_NE(name, 0u);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<std::uint32_t>(bound), name);
  TexturePixels uploaded{};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
  EXPECT_EQ(uploaded, *RunTextureScript(script));
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 8, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 1);
  GLint filter = 0, mode = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
  EXPECT_EQ(filter, GL_LINEAR);
  EXPECT_EQ(mode, GL_MODULATE);
}

TEST_F(GeneratorsGL, DisplayListHoldsTheQuads) {
  glViewport(0, 0, Width, Height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glScalef(0.5f, 0.5f, 0.5f);
  const auto feedback = [](std::uint32_t list) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    buffer.resize(static_cast<std::size_t>(std::max(glRenderMode(GL_RENDER), 0)));
    return buffer;
  };
  const std::uint32_t empty = GenerateMesh({});
  EXPECT_TRUE(glIsList(empty));
  EXPECT_TRUE(feedback(empty).empty());

  const std::vector<std::uint8_t> cube{0, 1};
  const std::vector<GLfloat> buffer = feedback(GenerateMesh(cube));
  std::set<std::tuple<int, int, int>> corners;
  std::size_t polygonVertices = 0;
  for (std::size_t i = 0; i + 1 < buffer.size();) {
    ASSERT_EQ(buffer[i], static_cast<GLfloat>(GL_POLYGON_TOKEN));
    const auto count = static_cast<std::size_t>(buffer[i + 1]);
    for (std::size_t k = 0; k < count; ++k) {
      const GLfloat* v = &buffer[i + 2 + 3 * k];
      corners.insert({static_cast<int>(std::lround(v[0])), static_cast<int>(std::lround(v[1])),
                      static_cast<int>(std::lround(v[2] * 4))});
    }
    polygonVertices += count;
    i += 2 + 3 * count;
  }
  // 24 quads, drawn as quads or split into triangles; the 26 lattice points
  // of the cube's surface at window x 200/400/600, y 150/300/450.
  EXPECT_TRUE(polygonVertices == 96 || polygonVertices == 144) << polygonVertices;
  EXPECT_EQ(corners.size(), 26u);
  for (const auto& [x, y, z] : corners) {
    EXPECT_TRUE(x == 200 || x == 400 || x == 600) << x;
    EXPECT_TRUE(y == 150 || y == 300 || y == 450) << y;
  }
}

TEST_F(GeneratorsGL, FrameShowsTheRingsAndTheWireframe) {
  TFrameCapture capture(*Context);
  ASSERT_NE(GeneratedTexture, 0u);
  ASSERT_NE(MeshList, 0u);
  const std::vector<std::uint8_t> frame = capture.CaptureAt(9000).Pixels;

  // Square k = 2 at 9 s: phase 3.75, half-diagonal 3.75, depth -1.15. The
  // ring's middle (101 of 256 texels from the centre) crosses the horizontal
  // through the square's centre 0.558 half-diagonals out; between it and the
  // ring of square k = 1 (phase 2.5, depth -0.9) there is a dark gap.
  const double outer = 0.558 * 3.75;
  for (const double side : {-1.0, 1.0}) {
    const TPixel ring = At(frame, Project(side * outer, -0.5, -1.15));
    EXPECT_GE(ring.B, 90) << side;
    EXPECT_NEAR(ring.G, 0.4 * ring.B, 6) << side;
    EXPECT_NEAR(ring.R, 0.2 * ring.B, 6) << side;
  }
  const TPixel gap = At(frame, Project(-0.5 * (outer + 0.558 * 2.5 * 5.65 / 5.4), -0.5, -1.15));
  EXPECT_LT(gap.B, 30);
  EXPECT_GT(CyanPixels(frame), 2000);

  const std::uint32_t mesh = MeshList;
  MeshList = 0;
  const std::vector<std::uint8_t> withoutMesh = capture.CaptureAt(9000).Pixels;
  EXPECT_LT(CyanPixels(withoutMesh), 100);
  MeshList = mesh;
}
