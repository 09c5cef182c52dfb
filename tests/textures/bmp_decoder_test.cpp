#include "textures/bmp_decoder.h"

#include <gtest/gtest.h>

#include "tests/textures/image_bytes.h"

namespace {

TEST(BmpDecoderTest, FontStripIsReadAsFourteenPaddedRowsWithBlueAndRedExchanged) {
  // Pixel (x, y) stored as blue x, green y, red 7; padding bytes 0xAB.
  TBytes rows;
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 1999; ++x) rows.insert(rows.end(), {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7});
    rows.insert(rows.end(), {0xAB, 0xAB, 0xAB});
  }
  TImage image;
  ASSERT_EQ(DecodeBMP(BmpFile({.Width = 1999, .Height = 14}, rows), image), TBmpError::None);
  EXPECT_EQ(image.Width, 1999);
  EXPECT_EQ(image.Height, 14);
  EXPECT_EQ(image.Layout, TPixelLayout::Rgb);
  EXPECT_EQ(image.RowAlignment, 4);
  ASSERT_EQ(image.Pixels.size(), 14u * 6000u);
  for (int y = 0; y < 14; ++y) {
    const std::uint8_t* row = image.Pixels.data() + y * 6000;
    for (int x : {0, 1, 1000, 1998}) {
      EXPECT_EQ(row[x * 3], 7);
      EXPECT_EQ(row[x * 3 + 1], y);
      EXPECT_EQ(row[x * 3 + 2], static_cast<std::uint8_t>(x));
    }
    EXPECT_EQ(row[5997], 0xAB);
    EXPECT_EQ(row[5999], 0xAB);
  }
}

TEST(BmpDecoderTest, RefusesWhatATextureCannotBe) {
  const TBytes pixels(64, 0);
  TImage image;
  EXPECT_EQ(DecodeBMP(BmpFile({.Width = 0}, pixels), image), TBmpError::Unsupported);
  EXPECT_EQ(DecodeBMP(BmpFile({.Height = 0}, pixels), image), TBmpError::Unsupported);
  EXPECT_EQ(DecodeBMP(BmpFile({.Height = -2}, pixels), image), TBmpError::Unsupported);
  EXPECT_EQ(DecodeBMP(BmpFile({.Width = 65536}, pixels), image), TBmpError::Unsupported);
  EXPECT_EQ(DecodeBMP(BmpFile({.BitsPerPixel = 32}, pixels), image), TBmpError::Unsupported);
  EXPECT_EQ(DecodeBMP(BmpFile({.BitsPerPixel = 8}, pixels), image), TBmpError::Unsupported);
  EXPECT_EQ(DecodeBMP(BmpFile({.Compression = 1}, pixels), image), TBmpError::Unsupported);
  // 65535 x 65535 would need 12 GiB before a byte of it is checked.
  EXPECT_EQ(DecodeBMP(BmpFile({.Width = 65535, .Height = 65535, .ImageSize = 4}, pixels), image),
            TBmpError::Unsupported);
  EXPECT_TRUE(image.Pixels.empty());
}

TEST(BmpDecoderTest, ShortDataIsReportedByWhatRanOut) {
  TImage image;
  TBytes headers = BmpFile({}, {});
  headers.pop_back();
  EXPECT_EQ(DecodeBMP(headers, image), TBmpError::ShortHeader);
  // One pixel row of 2 x 2 is 8 bytes; 15 of 16 are there.
  EXPECT_EQ(DecodeBMP(BmpFile({.Width = 2, .Height = 2}, TBytes(15, 0)), image), TBmpError::ShortPixels);
  EXPECT_EQ(DecodeBMP(BmpFile({.Width = 2, .Height = 2, .ImageSize = 20}, TBytes(19, 0)), image),
            TBmpError::ShortPixels);
  EXPECT_EQ(DecodeBMP(BmpFile({.ColorsUsed = 3}, TBytes(11, 0)), image), TBmpError::ShortPalette);
  EXPECT_EQ(DecodeBMP(BmpFile({.ColorsUsed = 0xFFFFFFFF}, TBytes(64, 0)), image), TBmpError::ShortPalette);
}

TEST(BmpDecoderTest, PaletteEntriesAreSkippedAndThePixelsFollowThem) {
  // Two palette entries, then one pixel and its padding.
  const TBytes rest = {1, 1, 1, 1, 2, 2, 2, 2, 10, 20, 30, 0};
  TImage image;
  ASSERT_EQ(DecodeBMP(BmpFile({.ColorsUsed = 2}, rest), image), TBmpError::None);
  EXPECT_EQ(image.Pixels, (TBytes{30, 20, 10, 0}));
}

TEST(BmpDecoderTest, ImageSizeSmallerThanTheRowsLeavesTheRestBlack) {
  const TBytes rest = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  TImage image;
  ASSERT_EQ(DecodeBMP(BmpFile({.Width = 2, .Height = 2, .ImageSize = 4}, rest), image), TBmpError::None);
  EXPECT_EQ(image.Pixels, (TBytes{3, 2, 1, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BmpDecoderTest, ImageSizeLargerThanTheRowsIsReadWhole) {
  TBytes rest(20, 9);
  rest[0] = 1;
  rest[2] = 3;
  TImage image;
  ASSERT_EQ(DecodeBMP(BmpFile({.Width = 2, .Height = 2, .ImageSize = 20}, rest), image), TBmpError::None);
  ASSERT_EQ(image.Pixels.size(), 20u);
  EXPECT_EQ(image.Pixels[0], 3);
  EXPECT_EQ(image.Pixels[2], 1);
}

}  // namespace
