#include "scene/font.h"

#include "platform/gl.h"

std::array<float, 255> GlyphLeft{};
float GlyphWidth = 0.0f;

void BuildGlyphTable() {
  GlyphWidth = 8.0f / 1999.0f;
  for (int c = 33; c <= 254; ++c)
    GlyphLeft[c] = static_cast<float>((c - 33) * static_cast<long double>(GlyphWidth) + (c - 32) / 1999.0L);
}

void DrawTextLine(std::string_view line, float x, float y) {
  ForEachGlyphQuad(line, x, y, [](const TGlyphQuad& quad) {
    glTexCoord2f(quad.S0, quad.T0);
    glVertex2f(quad.X0, quad.Y0);
    glTexCoord2f(quad.S1, quad.T0);
    glVertex2f(quad.X1, quad.Y0);
    glTexCoord2f(quad.S1, quad.T1);
    glVertex2f(quad.X1, quad.Y1);
    glTexCoord2f(quad.S0, quad.T1);
    glVertex2f(quad.X0, quad.Y1);
  });
}
