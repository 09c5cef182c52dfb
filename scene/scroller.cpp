#include "scene/scroller.h"

#include <algorithm>

#include "platform/gl.h"
#include "scene/font.h"
#include "scene/frame.h"
#include "scene/scroller_text.h"

std::int32_t TopLine = -40;
float ScrollFraction = 0.0f;

namespace {

constexpr int SlotCount = 41;
constexpr std::int32_t LowestTopLine = -40;
constexpr std::int32_t RestartTopLine = -38;
// Only a clock that jumped by days moves the text this far in one frame;
// beyond it a float minus 1 is itself and the wrap loops would not end.
constexpr double MaxLinesPerFrame = 1 << 20;

float Moved(float fraction, double lines) {
  return static_cast<float>(fraction + std::clamp(lines, -MaxLinesPerFrame, MaxLinesPerFrame));
}

}  // namespace

void AdvanceScroll(const TFrameInput& input, float step) {
  if (input.ScrollMode == ScrollBackward) {
    ScrollFraction = Moved(ScrollFraction, -double{step} * (input.Keys.Up ? 15 : 3));
    while (ScrollFraction < 0.0f) {
      ScrollFraction += 1.0f;
      if (--TopLine < LowestTopLine) TopLine = LineCount;
    }
  } else if (input.ScrollMode == ScrollForward) {
    ScrollFraction = Moved(ScrollFraction, double{step} * (input.Keys.Down ? 15 : 5));
    while (ScrollFraction > 1.0f) {
      ScrollFraction -= 1.0f;
      if (++TopLine >= LineCount) TopLine = RestartTopLine;
    }
  }
}

void DrawScrollerText(const TFrameInput& input) {
  glPushMatrix();
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  AdvanceScroll(input, FrameStep);
  glTranslatef(0.0f, 0.0f, 2.0f);
  glBindTexture(GL_TEXTURE_2D, input.FontTexture);
  glBegin(GL_QUADS);
  for (int slot = 0; slot < SlotCount; ++slot) {
    glColor4f(1.0f, 1.0f, 1.0f, 0.9f);
    const std::int64_t line = std::int64_t{TopLine} + slot;
    if (line >= 0 && line < LineCount)
      DrawTextLine(ScrollerLines[static_cast<std::size_t>(line)], -1.2f,
                   static_cast<float>(0.5 - (slot - double{ScrollFraction}) * 0.04));
  }
  glEnd();
  glPopMatrix();
}
