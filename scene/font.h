#pragma once
// The bitmap font: where each glyph sits in the font strip, and a text line
// as textured quads.
//
// The strip holds one cell for each code 33..254: a gap column, then per code
// 8 pixel columns of glyph and 1 of gap. Texture rows 1..12 of its 14 carry
// the glyph.
#include <array>
#include <cstdint>
#include <string_view>

// Left texture coordinate of each code's glyph; entries 0..32 are unused.
extern std::array<float, 255> GlyphLeft;
extern float GlyphWidth;

void BuildGlyphTable();

struct TGlyphQuad {
  // Corners (X0, Y0) to (X1, Y1) and texture coordinates (S0, T0) to (S1, T1),
  // emitted counter-clockwise from the bottom left.
  float X0, Y0, X1, Y1;
  float S0, T0, S1, T1;
};

constexpr double GlyphAdvance = 0.03;
constexpr double GlyphHeight = 0.04;
// Glyphs beyond "z" are sampled a little inside their cell.
constexpr float WideInsetH = 1.0f / 2400.0f;
constexpr float WideInsetV = 1.0f / 13.0f;

// Calls emit(TGlyphQuad) for each visible character of `line` set from left
// edge x and bottom edge y. Codes up to 32 (blank, control codes) and 255,
// which has no cell, draw nothing but take their place.
template <typename TEmit>
void ForEachGlyphQuad(std::string_view line, float x, float y, TEmit&& emit) {
  for (const char character : line) {
    const auto c = static_cast<std::uint8_t>(character);
    if (c > 32 && c < 255) {
      const float h = c > 122 ? WideInsetH : 0.0f;
      const float v = c > 122 ? WideInsetV : 0.0f;
      const double u = GlyphLeft[c];
      emit(TGlyphQuad{x, y, static_cast<float>(x + GlyphAdvance), static_cast<float>(y + GlyphHeight),
                      static_cast<float>(u + h), static_cast<float>(1.0 / 14.0 + v),
                      static_cast<float>(u + GlyphWidth - h), static_cast<float>(13.0 / 14.0 - v)});
    }
    x = static_cast<float>(x + GlyphAdvance);
  }
}

// One line's quads inside an open GL_QUADS batch.
void DrawTextLine(std::string_view line, float x, float y);
