// The font strip and logo that the build makes and embeds, read back through
// the decoders the intro uses.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/resources.h"
#include "textures/bmp_decoder.h"
#include "textures/jpg_decoder.h"

namespace {

class FontStripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const platform::TResource* font = platform::FindResource("FONT", "BMP");
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(DecodeBMP(font->Data, Strip), TBmpError::None);
  }

  // Brightness (sum of the channels) at column x, row y from the bottom.
  int At(int x, int y) const {
    const std::uint8_t* p = Strip.Pixels.data() + y * 6000 + x * 3;
    return p[0] + p[1] + p[2];
  }

  // The 8 x 12 glyph picture of a code, as a string of lit ('#') and dark.
  std::string Cell(int code) const {
    std::string cell;
    const int left = 9 * (code - 33) + 1;
    for (int y = 12; y >= 1; --y)
      for (int x = left; x < left + 8; ++x) cell += At(x, y) > 0 ? '#' : '.';
    return cell;
  }

  TImage Strip;
};

TEST_F(FontStripTest, IsA1999By14StripWithNothingOutsideTheGlyphCells) {
  EXPECT_EQ(Strip.Width, 1999);
  EXPECT_EQ(Strip.Height, 14);
  for (int x = 0; x < 1999; ++x) {
    EXPECT_EQ(At(x, 0), 0) << x;
    EXPECT_EQ(At(x, 13), 0) << x;
  }
  for (int code = 33; code <= 255; ++code)
    for (int y = 0; y < 14; ++y) EXPECT_EQ(At(9 * (code - 33), y), 0) << "gap before code " << code;
}

TEST_F(FontStripTest, EveryPrintableAsciiAndLatin1LetterHasItsOwnDesign) {
  // Code 127 has no design: its cell shows the neutral box.
  const std::string box = Cell(127);
  EXPECT_NE(box.find('#'), std::string::npos);
  std::vector<std::string> seen;
  const auto designed = [&](int code) {
    const std::string cell = Cell(code);
    EXPECT_NE(cell, box) << "code " << code;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), cell), 0) << "code " << code << " looks like another";
    seen.push_back(cell);
  };
  for (int code = 33; code <= 126; ++code) designed(code);
  for (int code = 192; code <= 254; ++code) designed(code);
  // A non-breaking space is a blank.
  EXPECT_EQ(Cell(160), std::string(96, '.'));
}

TEST(LogoTest, IsA789By306PictureWithTheTitleOnBlack) {
  const platform::TResource* logo = platform::FindResource("LOGO", "JPEG");
  ASSERT_NE(logo, nullptr);
  TImage image;
  ASSERT_TRUE(DecodeJPG(logo->Data, image));
  EXPECT_EQ(image.Width, 789);
  EXPECT_EQ(image.Height, 306);
  const auto brightness = [&](int x, int y) {
    const std::uint8_t* p = image.Pixels.data() + (static_cast<std::size_t>(y) * 789 + x) * 4;
    return p[0] + p[1] + p[2];
  };
  // Corners black for the band around it; the letters bright in its middle.
  EXPECT_LT(brightness(2, 2), 12);
  EXPECT_LT(brightness(786, 303), 12);
  int bright = 0;
  for (int y = 0; y < 306; ++y)
    for (int x = 0; x < 789; ++x) bright += brightness(x, y) > 600;
  EXPECT_GT(bright, 3000);
}

}  // namespace
