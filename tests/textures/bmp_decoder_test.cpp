#include "textures/bmp_decoder.h"

#include <gtest/gtest.h>

#include "tests/textures/image_bytes.h"

namespace {

TEST(BmpDecoderTest, FontStripIsReadAsFourteenPaddedRowsWithBlueAndRedExchanged) {
  // Pixel (x, y) stored as blue x, green y, red 7; padding bytes 0xAB.
  TBytes rows;
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 1999; ++x)
      rows.insert(rows.end(), {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7});
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
  const std::pair<TBmpFields, TBmpError> refusals[] = {
      {{.Width = 0}, TBmpError::BadSize},
      {{.Height = 0}, TBmpError::BadSize},
      {{.Width = 65536}, TBmpError::BadSize},
      // 65535 x 65535 would need 12 GiB before a byte of it is checked.
      {{.Width = 65535, .Height = 65535, .ImageSize = 4}, TBmpError::BadSize},
      {{.BitsPerPixel = 8}, TBmpError::Unsupported},
      {{.Compression = 1}, TBmpError::Unsupported},
      {{.Compression = 3}, TBmpError::Unsupported},
      {{.BitsPerPixel = 32, .Compression = 3, .InfoSize = 56, .Masks = {0xF800, 0x7E0, 0x1F, 0}},
       TBmpError::Unsupported},
      {{.InfoSize = 64}, TBmpError::UnknownHeader},
      {{.DataOffset = 1000}, TBmpError::BadOffset},
      {{.InfoSize = 124, .DataOffset = 54}, TBmpError::BadOffset},
  };
  for (const auto& [fields, error] : refusals) {
    TImage image;
    EXPECT_EQ(DecodeBMP(BmpFile(fields, TBytes(64, 0)), image), error) << &fields - &refusals[0].first;
    EXPECT_TRUE(image.Pixels.empty());
  }
}

// 2 x 2: bottom row red then green, top row blue then white, where there is
// alpha 255, 128, 64 and 0.
const TBytes Rgb = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
const TBytes Bgr = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
const TBytes BgrTopRowFirst = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
const TBytes Rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 64, 255, 255, 255, 0};
const TBytes Opaque = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
const TBytes Bgra = {0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 64, 255, 255, 255, 0};
const TBytes BgraTopRowFirst = {255, 0, 0, 64, 255, 255, 255, 0, 0, 0, 255, 255, 0, 255, 0, 128};

struct TLayout {
  TBmpFields Fields;
  const TBytes& Stored;
  const TBytes& Expected;
};

TEST(BmpDecoderTest, EveryLayoutGivesTheSameRowsBottomRowFirst) {
  const TLayout layouts[] = {
      {{.Width = 2, .Height = 2}, Bgr, Rgb},
      {{.Width = 2, .Height = 2, .InfoSize = 108}, Bgr, Rgb},
      {{.Width = 2, .Height = 2, .InfoSize = 124, .Gap = 10}, Bgr, Rgb},
      {{.Width = 2, .Height = -2}, BgrTopRowFirst, Rgb},
      {{.Width = 2, .Height = 2, .BitsPerPixel = 32, .Gap = 3}, Bgra, Rgba},
      {{.Width = 2, .Height = -2, .BitsPerPixel = 32, .Compression = 3, .InfoSize = 124}, BgraTopRowFirst, Rgba},
      // A 40-byte header has no room for an alpha mask.
      {{.Width = 2, .Height = 2, .BitsPerPixel = 32, .Compression = 3}, Bgra, Opaque},
  };
  for (const TLayout& layout : layouts) {
    SCOPED_TRACE(&layout - layouts);
    TImage image;
    ASSERT_EQ(DecodeBMP(BmpFile(layout.Fields, layout.Stored), image), TBmpError::None);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(image.Layout, layout.Fields.BitsPerPixel == 32 ? TPixelLayout::Rgba : TPixelLayout::Rgb);
    EXPECT_EQ(image.Pixels, layout.Expected);
  }
}

TEST(BmpDecoderTest, ShortDataIsReportedByWhatRanOut) {
  TImage image;
  TBytes headers = BmpFile({}, {});
  headers.pop_back();
  EXPECT_EQ(DecodeBMP(headers, image), TBmpError::ShortHeader);
  headers = BmpFile({.BitsPerPixel = 32, .Compression = 3, .InfoSize = 124}, {});
  headers.resize(100);
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
