#include "scene/frame.h"

#include <cmath>
#include <numbers>

#include "platform/gl.h"
#include "scene/choreography.h"
#include "scene/scroller.h"

std::int32_t PrevSceneTime = 0;
float FrameStep = 0.0f;

namespace {

constexpr double Pi = std::numbers::pi;

// How far t has come from `start` towards `end`, as a fraction of the way.
double Progress(std::int32_t t, std::int32_t start, std::int32_t end) {
  return (t - start) / static_cast<double>(end - start);
}

void Quad(float x0, float y0, float x1, float y1, float z) {
  glVertex3f(x0, y0, z);
  glVertex3f(x1, y0, z);
  glVertex3f(x1, y1, z);
  glVertex3f(x0, y1, z);
}

void DrawRings(std::int32_t t) {
  glBindTexture(GL_TEXTURE_2D, 0);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLineWidth(2.5f);
  glEnable(GL_LINE_SMOOTH);
  glBegin(GL_LINES);
  for (int i = 1; i <= 10; ++i) {
    const double r = 2.0 * i / 10.0;
    for (int j = 0; j <= 93; ++j) {
      glColor4d(0.0, 0.0, 0.0, 0.25 * std::sin(t / 2000.0 + (i + j) / 10.0) + 0.25);
      const double phi = Pi * std::sin(t / 6000.0 + i) + 2.0 * Pi * j / 93.0;
      glVertex3d(r * std::sin(phi), r * std::cos(phi) - 0.625, r - 2.0);
    }
  }
  glEnd();
}

void DrawWireframeMesh(std::int32_t t, std::uint32_t meshList) {
  glColor4f(0.5f, 1.0f, 1.0f, 0.1f);
  glPushMatrix();
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glTranslated(0.0, -0.6, std::sin(t / 4000.0) - 1.0);
  glRotated(t / 47.0, 1.0, 0.0, 0.0);
  glRotated(t / 50.0, 0.0, 1.0, 0.0);
  glTranslated(0.2 * std::sin(t / 2000.0), 0.2 * std::cos(t / 2000.0), 0.0);
  // List 0 is "no mesh"; calling it would only raise a GL error.
  if (meshList) glCallList(meshList);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glPopMatrix();
  glDisable(GL_LINE_SMOOTH);
  glLineWidth(1.0f);
}

void DrawCover(std::int32_t t) {
  glColor4d(0.0, 0.0, 0.0, 1.0 - Progress(t, Cues.BackgroundStart, Cues.CoverEnd));
  glBegin(GL_QUADS);
  Quad(-2.0f, -2.0f, 2.0f, 2.0f, 2.0f);
  glEnd();
}

void DrawPanel(std::int32_t t) {
  glBindTexture(GL_TEXTURE_2D, 0);
  const double d = t < Cues.PanelEnd ? Progress(t, Cues.PanelStart, Cues.PanelEnd) : 1.0;
  glColor4d(0.0, 0.0, 0.0, 0.3 * d);
  glBegin(GL_QUADS);
  Quad(-3.0f, static_cast<float>(-1.0 - d), 3.0f, static_cast<float>(d), 0.0f);
  glEnd();
}

void DrawLogoBand(std::int32_t t, std::uint32_t logoTexture) {
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glPushMatrix();
  if (t > Cues.BandSlideEnd) {
    glTranslatef(0.0f, 2.1f, 0.0f);
  } else if (t > Cues.BandSlideStart) {
    const long double s = (t - Cues.BandSlideStart) / static_cast<long double>(Cues.BandSlideEnd - Cues.BandSlideStart);
    glTranslatef(0.0f, QuadBezier(s, 0.0L, 2.1L, 2.1L), 0.0f);
  }
  glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
  glBegin(GL_QUADS);
  Quad(-4.0f, -1.05f, 4.0f, 1.05f, -2.4f);
  glEnd();

  glEnable(GL_TEXTURE_2D);
  const float c = t < Cues.LogoFadeEnd ? static_cast<float>(Progress(t, 0, Cues.LogoFadeEnd)) : 1.0f;
  glColor4f(c, c, c, 1.0f);
  glBindTexture(GL_TEXTURE_2D, logoTexture);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-3.0f, -1.05f, -2.4f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(3.0f, -1.05f, -2.4f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(3.0f, 1.05f, -2.4f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-3.0f, 1.05f, -2.4f);
  glEnd();
  glPopMatrix();
}

void DrawUnderline(std::int32_t t) {
  glBindTexture(GL_TEXTURE_2D, 0);
  if (t <= Cues.UnderlineStart) return;
  const double half = t > Cues.UnderlineEnd ? 4.0 : 4.0 * Progress(t, Cues.UnderlineStart, Cues.UnderlineEnd);
  glBegin(GL_LINES);
  glVertex3d(-half, 0.95, -1.8);
  glVertex3d(half, 0.95, -1.8);
  glEnd();
}

}  // namespace

float QuadBezier(long double s, long double p0, long double p1, long double p2) {
  const long double u = 1.0L - s;
  return static_cast<float>(u * u * p0 + 2.0L * u * s * p1 + s * s * p2);
}

void DrawPulseSquares(std::int32_t t) {
  glBegin(GL_QUADS);
  for (std::int64_t k = 0; k < 4; ++k) {
    const double p = static_cast<double>(((k * 1000 + t) % 4000) * 5) / 4000.0;
    glColor4d(0.2, 0.4, 1.0, p > 3.0 ? 5.0 - p : 1.0);
    static constexpr float TexCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int j = 1; j <= 4; ++j) {
      const double theta = 2.0 * Pi * j / 4.0;
      glTexCoord2fv(TexCoords[j - 1]);
      glVertex3d(p * std::sin(theta), p * std::cos(theta) - 0.5, -0.3 - (p - 2.0) / 5.0 - 0.5);
    }
  }
  glEnd();
}

void DrawScene(const TFrameInput& input) {
  const std::int32_t t = input.SceneTime;
  FrameStep = static_cast<float>(static_cast<double>(static_cast<std::int64_t>(t) - PrevSceneTime) / 1500.0);
  PrevSceneTime = t;
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -4.5f);
  glPushMatrix();

  if (t >= Cues.BackgroundStart) {
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, input.GeneratedTexture);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    DrawPulseSquares(t);
    DrawRings(t);
    DrawWireframeMesh(t, input.MeshList);
    if (t <= Cues.CoverEnd) DrawCover(t);
  }

  const bool scrollerHidden = input.Keys.F5;
  if (t >= Cues.PanelStart && !scrollerHidden) DrawPanel(t);

  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  if (t > Cues.ScrollerStart && !scrollerHidden) DrawScrollerText(input);

  DrawLogoBand(t, input.LogoTexture);
  DrawUnderline(t);

  glEnable(GL_DEPTH_TEST);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glPopMatrix();
}
