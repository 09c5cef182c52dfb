#include "scene/font.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FontTest, GlyphTablePointsAtEachCodesCellInTheStrip) {
  BuildGlyphTable();
  EXPECT_EQ(GlyphWidth, 8.0f / 1999.0f);
  EXPECT_FLOAT_EQ(GlyphWidth, 0.004002001f);
  // The cell of code c starts at pixel column 9 (c - 33) + 1 of 1999.
  for (const int code : {33, 122, 123, 254}) {
    EXPECT_FLOAT_EQ(GlyphLeft[code], (9.0f * static_cast<float>(code - 33) + 1.0f) / 1999.0f) << code;
    EXPECT_FLOAT_EQ(GlyphLeft[code] + GlyphWidth, (9.0f * static_cast<float>(code - 33) + 9.0f) / 1999.0f) << code;
  }
  EXPECT_FLOAT_EQ(GlyphLeft[33], 0.00050025f);
  EXPECT_FLOAT_EQ(GlyphLeft[254], 0.99549775f);
}

TEST(FontTest, ALineIsOneQuadPerGlyphWithBlanksControlCodesAndCode255TakingTheirPlace) {
  BuildGlyphTable();
  std::vector<TGlyphQuad> quads;
  ForEachGlyphQuad("A {\xFF\xE9\x01z", -1.2f, 0.5f, [&](const TGlyphQuad& quad) { quads.push_back(quad); });
  ASSERT_EQ(quads.size(), 4u);

  // Pen positions as the pen moves: 0.03 at a time, kept as a float.
  std::vector<float> pen = {-1.2f};
  for (int k = 0; k < 7; ++k) pen.push_back(static_cast<float>(pen.back() + 0.03));
  const int columns[] = {0, 2, 4, 6};
  const int codes[] = {'A', '{', 0xE9, 'z'};
  for (int k = 0; k < 4; ++k) {
    const TGlyphQuad& quad = quads[k];
    const int code = codes[k];
    SCOPED_TRACE(code);
    EXPECT_FLOAT_EQ(quad.X0, pen[columns[k]]);
    EXPECT_FLOAT_EQ(quad.X1, pen[columns[k]] + 0.03f);
    EXPECT_FLOAT_EQ(quad.Y0, 0.5f);
    EXPECT_FLOAT_EQ(quad.Y1, 0.54f);
    // Beyond "z" the cell is sampled a little inside its edges.
    const float h = code > 122 ? 1.0f / 2400.0f : 0.0f;
    const float v = code > 122 ? 1.0f / 13.0f : 0.0f;
    EXPECT_FLOAT_EQ(quad.S0, GlyphLeft[code] + h);
    EXPECT_FLOAT_EQ(quad.S1, GlyphLeft[code] + GlyphWidth - h);
    EXPECT_FLOAT_EQ(quad.T0, 1.0f / 14.0f + v);
    EXPECT_FLOAT_EQ(quad.T1, 13.0f / 14.0f - v);
  }
  EXPECT_FLOAT_EQ(quads[1].T0, 0.14835165f);
}

}  // namespace
