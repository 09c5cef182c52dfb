#include "tools/module_video/video_painter.h"

#include <algorithm>
#include <vector>

#include "platform/gl.h"
#include "textures/bmp_decoder.h"
#include "textures/image_source.h"

namespace {

// The font strip: a gap column, then per code 33..254 eight columns of glyph
// and one of gap; the glyph's 12 rows are the strip's rows 1..12 of 14.
constexpr int FirstCode = 33;
constexpr int LastCode = 254;
constexpr int StripHeight = 14;
// The strip copied into a texture of power-of-two sides, white with the
// glyphs' brightness as their opacity.
constexpr int AtlasWidth = 2048;
constexpr int AtlasHeight = 16;

std::uint32_t LoadFont() {
  TImageBytes bytes;
  TImage strip;
  if (ReadImageSource("font.bmp", "BMP", true, bytes) != TSourceStatus::Ok ||
      DecodeBMP(bytes.Data, strip) != TBmpError::None || strip.Height != StripHeight || strip.Width > AtlasWidth)
    return 0;
  const std::size_t pixelBytes = strip.Layout == TPixelLayout::Rgba ? 4 : 3;
  const std::size_t rowBytes = (strip.Width * pixelBytes + static_cast<std::size_t>(strip.RowAlignment) - 1) /
                               static_cast<std::size_t>(strip.RowAlignment) *
                               static_cast<std::size_t>(strip.RowAlignment);
  std::vector<std::uint8_t> atlas(AtlasWidth * AtlasHeight * 4, 0);
  // The strip's rows come bottom first; the atlas holds them top first.
  for (std::size_t row = 0; row < StripHeight; ++row)
    for (std::size_t x = 0; x < strip.Width; ++x) {
      const std::uint8_t* pixel = strip.Pixels.data() + (StripHeight - 1 - row) * rowBytes + x * pixelBytes;
      std::uint8_t* out = atlas.data() + (row * AtlasWidth + x) * 4;
      out[0] = out[1] = out[2] = 255;
      out[3] = std::max({pixel[0], pixel[1], pixel[2]});
    }
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, AtlasWidth, AtlasHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, atlas.data());
  return texture;
}

void SetColour(TColour colour) { glColor3ub(colour.Red, colour.Green, colour.Blue); }

}  // namespace

TVideoPainter::TVideoPainter(int width, int height) : Font(LoadFont()) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

TVideoPainter::~TVideoPainter() {
  if (Font) glDeleteTextures(1, &Font);
}

void TVideoPainter::Clear(TColour colour) const {
  glClearColor(colour.Red / 255.0f, colour.Green / 255.0f, colour.Blue / 255.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void TVideoPainter::Fill(const TBox& box, TColour colour) const {
  SetColour(colour);
  glRecti(box.X, box.Y, box.X + box.Width, box.Y + box.Height);
}

void TVideoPainter::Text(std::string_view text, int x, int y, int scale, TColour colour, std::size_t maxChars) const {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBindTexture(GL_TEXTURE_2D, Font);
  SetColour(colour);
  glBegin(GL_QUADS);
  const int width = GlyphWidth * scale;
  const int height = GlyphHeight * scale;
  for (const char character : text.substr(0, maxChars)) {
    const int code = static_cast<std::uint8_t>(character);
    if (code >= FirstCode && code <= LastCode) {
      const int left = 1 + (code - FirstCode) * (GlyphWidth + 1);
      const float s0 = static_cast<float>(left) / AtlasWidth;
      const float s1 = static_cast<float>(left + GlyphWidth) / AtlasWidth;
      const float t0 = 1.0f / AtlasHeight;
      const float t1 = static_cast<float>(1 + GlyphHeight) / AtlasHeight;
      glTexCoord2f(s0, t0);
      glVertex2i(x, y);
      glTexCoord2f(s1, t0);
      glVertex2i(x + width, y);
      glTexCoord2f(s1, t1);
      glVertex2i(x + width, y + height);
      glTexCoord2f(s0, t1);
      glVertex2i(x, y + height);
    }
    x += width;
  }
  glEnd();
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
}

void TVideoPainter::Trace(const TBox& box, std::span<const float> values, int lineWidth, TColour colour) const {
  const float middle = static_cast<float>(box.Y) + static_cast<float>(box.Height) / 2.0f;
  const float half = static_cast<float>(box.Height - lineWidth) / 2.0f;
  glLineWidth(static_cast<float>(lineWidth));
  SetColour(colour);
  glBegin(GL_LINE_STRIP);
  for (std::size_t k = 0; k < values.size(); ++k)
    glVertex2f(static_cast<float>(box.X) + static_cast<float>(k) + 0.5f,
               middle - std::clamp(values[k], -1.0f, 1.0f) * half);
  glEnd();
}
