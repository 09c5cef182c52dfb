// The frame's choreography, drawn for real with every texture and the mesh
// left at 0 (untextured), read back and checked at positions computed from
// the projection: 45 degrees vertical field of view, 800 x 600.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/gl.h"
#include "platform/offscreen_context.h"
#include "scene/choreography.h"
#include "scene/frame.h"
#include "shell/init_scene.h"
#include "shell/render_window.h"

namespace {

constexpr int Width = 800;
constexpr int Height = 600;

struct TPixel {
  int R, G, B;
};

// Screen position (x right, y down from the top-left) of an object point under
// the frame's base translation (0, 0, -4.5) and an extra vertical offset.
struct TScreenPoint {
  double X, Y;
};

TScreenPoint Project(double x, double y, double z) {
  const double f = 1.0 / std::tan(22.5 * std::acos(-1.0) / 180.0);
  const double eyeZ = z - 4.5;
  const double ndcX = f / (800.0 / 600.0) * x / -eyeZ;
  const double ndcY = f * y / -eyeZ;
  return {(ndcX + 1.0) * Width / 2.0, (1.0 - ndcY) * Height / 2.0};
}

class FrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Context = std::make_unique<platform::TOffscreenContext>(Width, Height);
    ASSERT_TRUE(Context->Ok()) << Context->Error();
    ResizeScene(Width, Height);
    SetFixedGLState();
  }
  static void TearDownTestSuite() { Context.reset(); }

  void SetUp() override { ASSERT_TRUE(Context && Context->Ok()); }

  // Draws the frame for time t as the first frame after `previous`.
  void Draw(std::int32_t t, std::int32_t previous = 0) {
    PrevSceneTime = previous;
    Input.SceneTime = t;
    DrawScene(Input);
    Pixels = Context->ReadPixels();
  }

  TPixel At(double x, double y) const {
    const int px = static_cast<int>(x);
    const int py = static_cast<int>(y);
    const std::size_t i = (static_cast<std::size_t>(py) * Width + static_cast<std::size_t>(px)) * 3;
    return {Pixels[i], Pixels[i + 1], Pixels[i + 2]};
  }

  static bool IsBlack(TPixel p) { return p.R <= 2 && p.G <= 2 && p.B <= 2; }
  static bool IsGrey(TPixel p, int level) {
    return std::abs(p.R - level) <= 2 && std::abs(p.G - level) <= 2 && std::abs(p.B - level) <= 2;
  }

  static inline std::unique_ptr<platform::TOffscreenContext> Context;
  TFrameInput Input;
  std::vector<std::uint8_t> Pixels;
};

TEST_F(FrameTest, LogoFadesInFromBlackInsideItsBand) {
  const TScreenPoint centre = Project(0, 0, -2.4);
  Draw(Cues.LogoFadeEnd / 2);
  EXPECT_TRUE(IsGrey(At(centre.X, centre.Y), 128));
  Draw(Cues.LogoFadeEnd / 4);
  EXPECT_TRUE(IsGrey(At(centre.X, centre.Y), 64));
  Draw(Cues.LogoFadeEnd + 500);
  EXPECT_TRUE(IsGrey(At(centre.X, centre.Y), 255));
  // Left of the logo quad the band is black; above the band, nothing.
  EXPECT_TRUE(IsBlack(At(Project(-3.5, 0, -2.4).X, centre.Y)));
  EXPECT_TRUE(IsBlack(At(centre.X, Project(0, 1.3, -2.4).Y)));
}

TEST_F(FrameTest, BandSitsInTheMiddleUntilThreeSecondsThenEasesUpToItsPlace) {
  const double x = Project(0, 0, -2.4).X;
  auto rows = [&](double offset) {
    return std::pair{Project(0, 1.05 + offset, -2.4).Y, Project(0, -1.05 + offset, -2.4).Y};
  };
  Draw(Cues.BandSlideStart - 1000);
  auto [top, bottom] = rows(0.0);
  EXPECT_TRUE(IsGrey(At(x, top + 3), 255));
  EXPECT_TRUE(IsGrey(At(x, bottom - 3), 255));
  EXPECT_TRUE(IsBlack(At(x, top - 3)));
  EXPECT_TRUE(IsBlack(At(x, bottom + 3)));

  // Halfway through the slide the ease-out has covered three quarters: 1.575.
  Draw((Cues.BandSlideStart + Cues.BandSlideEnd) / 2);
  std::tie(top, bottom) = rows(1.575);
  EXPECT_TRUE(IsGrey(At(x, top + 3), 255));
  EXPECT_TRUE(IsGrey(At(x, bottom - 3), 255));
  EXPECT_TRUE(IsBlack(At(x, top - 3)));
  EXPECT_TRUE(IsBlack(At(x, bottom + 3)));

  Draw(Cues.BandSlideEnd + 200);
  std::tie(top, bottom) = rows(2.1);
  EXPECT_LT(top, 0.0);
  EXPECT_TRUE(IsGrey(At(x, 2), 255));
  EXPECT_TRUE(IsGrey(At(x, bottom - 3), 255));
  EXPECT_TRUE(IsBlack(At(x, bottom + 6)));
}

TEST_F(FrameTest, UnderlineGrowsOutOfTheCentre) {
  Draw((Cues.UnderlineStart + Cues.UnderlineEnd) / 2);
  const double row = Project(0, 0.95, -1.8).Y;
  const double halfEnd = Project(2.0, 0, -1.8).X;
  const double fullEnd = Project(4.0, 0, -1.8).X;
  int lit = -1;
  for (int y = static_cast<int>(row) - 2; y <= static_cast<int>(row) + 2; ++y)
    if (IsGrey(At(Width / 2.0, y), 255)) lit = y;
  ASSERT_GE(lit, 0) << "no underline near row " << row;
  EXPECT_TRUE(IsGrey(At(halfEnd - 4, lit), 255));
  EXPECT_TRUE(IsBlack(At(halfEnd + 4, lit)));
  EXPECT_TRUE(IsBlack(At(Width - halfEnd - 4, lit)));
  EXPECT_TRUE(IsBlack(At(Width / 2.0, lit + 3)));

  Draw(Cues.UnderlineEnd + 1000);
  EXPECT_GT(fullEnd, Width);
  EXPECT_TRUE(IsGrey(At(2, lit), 255));
  EXPECT_TRUE(IsGrey(At(Width - 3, lit), 255));

  Draw(Cues.UnderlineStart);
  EXPECT_TRUE(IsBlack(At(Width / 2.0, lit)));
}

TEST_F(FrameTest, CoverIsOpaqueAtFiveSecondsAndGoneAfterTwelveAndAHalf) {
  const double x = Width / 2.0;
  const double y = Project(0, -1.2, 0).Y;
  Draw(Cues.BackgroundStart);
  EXPECT_TRUE(IsBlack(At(x, y)));
  Draw(Cues.CoverEnd);
  const TPixel open = At(x, y);
  EXPECT_GT(open.B, 60);
  Draw(Cues.CoverEnd + 1);
  const TPixel after = At(x, y);
  EXPECT_NEAR(after.B, open.B, 3);
}

TEST_F(FrameTest, PanelDarkensToThirtyPercentOverTwoSecondsAndF5HidesIt) {
  const double x = Width / 2.0;
  const double y = Project(0, -1.2, 0).Y;
  auto darkening = [&](std::int32_t t) {
    Input.Keys.F5 = true;
    Draw(t, t);
    const TPixel hidden = At(x, y);
    Input.Keys.F5 = false;
    Draw(t, t);
    const TPixel shown = At(x, y);
    EXPECT_GT(hidden.B, 100) << "t=" << t;
    return static_cast<double>(shown.B) / hidden.B;
  };
  const std::int32_t halfway = (Cues.PanelStart + Cues.PanelEnd) / 2;
  EXPECT_NEAR(darkening(Cues.PanelStart), 1.0, 0.02);
  EXPECT_NEAR(darkening(halfway), 0.85, 0.02);
  EXPECT_NEAR(darkening(Cues.PanelEnd), 0.70, 0.02);
  EXPECT_NEAR(darkening(40000), 0.70, 0.02);
  // The panel's upper edge moves from y = 0 to y = 1.
  const double between = Project(0, 0.5, 0).Y;
  const std::int32_t early = Cues.PanelStart + 500;
  Input.Keys.F5 = true;
  Draw(early, early);
  const TPixel hidden = At(x, between);
  Input.Keys.F5 = false;
  Draw(early, early);
  EXPECT_NEAR(At(x, between).B, hidden.B, 2);
  Draw(Cues.PanelEnd, Cues.PanelEnd);
  EXPECT_LT(At(x, between).B, hidden.B * 0.75);
}

TEST_F(FrameTest, FrameStepIsTheTimeSinceThePreviousFrameInUnitsOf1500ms) {
  Draw(300, 0);
  EXPECT_FLOAT_EQ(FrameStep, 0.2f);
  EXPECT_EQ(PrevSceneTime, 300);
  Draw(20000, 19250);
  EXPECT_FLOAT_EQ(FrameStep, 0.5f);
}

TEST_F(FrameTest, DrawSceneLeavesTheStateItPromises) {
  Draw(20000, 19990);
  GLboolean depth = GL_FALSE, blend = GL_TRUE, texture = GL_FALSE;
  glGetBooleanv(GL_DEPTH_TEST, &depth);
  glGetBooleanv(GL_BLEND, &blend);
  glGetBooleanv(GL_TEXTURE_2D, &texture);
  EXPECT_TRUE(depth);
  EXPECT_FALSE(blend);
  EXPECT_TRUE(texture);
  GLint bound = -1, stack = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &stack);
  EXPECT_EQ(bound, 0);
  EXPECT_EQ(stack, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(QuadBezierTest, EasesOutFromTheCentre) {
  EXPECT_FLOAT_EQ(QuadBezier(0.0L, 0.0L, 2.1L, 2.1L), 0.0f);
  EXPECT_FLOAT_EQ(QuadBezier(0.5L, 0.0L, 2.1L, 2.1L), 1.575f);
  EXPECT_FLOAT_EQ(QuadBezier(1.0L, 0.0L, 2.1L, 2.1L), 2.1f);
}

}  // namespace
