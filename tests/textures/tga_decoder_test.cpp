#include "textures/tga_decoder.h"

#include <gtest/gtest.h>

#include "tests/textures/image_bytes.h"

namespace {

TEST(TgaDecoderTest, HeaderIsCheckedImageTypeFirstThenColourMapThenDepth) {
  const TBytes pixels(64, 0);
  TImage image;
  EXPECT_EQ(DecodeTGA(TgaFile({.ColorMapType = 1, .ImageType = 1, .Depth = 16}, pixels), image),
            TTgaError::BadImageType);
  EXPECT_EQ(DecodeTGA(TgaFile({.ColorMapType = 1, .ImageType = 2, .Depth = 16}, pixels), image),
            TTgaError::ColorMapped);
  EXPECT_EQ(DecodeTGA(TgaFile({.ImageType = 10, .Depth = 16}, pixels), image), TTgaError::BadDepth);
  EXPECT_EQ(DecodeTGA(TgaFile({.Depth = 40}, pixels), image), TTgaError::BadDepth);
  EXPECT_EQ(DecodeTGA(TgaFile({.Width = 0}, pixels), image), TTgaError::BadSize);
  EXPECT_EQ(DecodeTGA(TgaFile({.Width = 65535, .Height = 65535, .Depth = 32}, pixels), image), TTgaError::BadSize);
  TBytes header = TgaFile({}, {});
  header.pop_back();
  EXPECT_EQ(DecodeTGA(header, image), TTgaError::ShortHeader);
}

TEST(TgaDecoderTest, Raw24BitPixelsBecomeRgbInUnpaddedRows) {
  const TBytes stored = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  TImage image;
  ASSERT_EQ(DecodeTGA(TgaFile({.Width = 3, .Height = 2}, stored), image), TTgaError::None);
  EXPECT_EQ(image.Layout, TPixelLayout::Rgb);
  EXPECT_EQ(image.RowAlignment, 1);
  EXPECT_EQ(image.Pixels, (TBytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}));
}

TEST(TgaDecoderTest, Raw32BitPixelsKeepTheirAlphaAfterTheImageId) {
  const TBytes rest = {'i', 'd', 1, 2, 3, 4, 5, 6, 7, 8};
  TImage image;
  ASSERT_EQ(DecodeTGA(TgaFile({.IdLength = 2, .Width = 2, .Depth = 32}, rest), image), TTgaError::None);
  EXPECT_EQ(image.Layout, TPixelLayout::Rgba);
  EXPECT_EQ(image.Pixels, (TBytes{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST(TgaDecoderTest, RawDataShortOfThePixelsIsRejected) {
  TImage image;
  EXPECT_EQ(DecodeTGA(TgaFile({.Width = 2, .Height = 2}, TBytes(11, 0)), image), TTgaError::ShortPixels);
  EXPECT_EQ(DecodeTGA(TgaFile({.IdLength = 200}, TBytes(3, 0)), image), TTgaError::ShortPixels);
}

TEST(TgaDecoderTest, RunLengthPacketsRepeatOrCarryUpTo128Pixels) {
  // 128: one copy of the pixel; 255: 128 copies; 127: 128 literal pixels.
  TBytes rest = {128, 1, 2, 3, 255, 4, 5, 6, 127};
  for (int k = 0; k < 128; ++k) rest.insert(rest.end(), {0, 0, static_cast<std::uint8_t>(k)});
  TImage image;
  ASSERT_EQ(DecodeTGA(TgaFile({.ImageType = 10, .Width = 257}, rest), image), TTgaError::None);
  ASSERT_EQ(image.Pixels.size(), 257u * 3);
  EXPECT_EQ(TBytes(image.Pixels.begin(), image.Pixels.begin() + 3), (TBytes{3, 2, 1}));
  for (int k = 1; k <= 128; ++k) EXPECT_EQ(image.Pixels[k * 3], 6) << k;
  for (int k = 0; k < 128; ++k) EXPECT_EQ(image.Pixels[(129 + k) * 3], k) << k;
}

TEST(TgaDecoderTest, RunLength32BitPixelsKeepTheirFourthByte) {
  const TBytes rest = {129, 1, 2, 3, 4};
  TImage image;
  ASSERT_EQ(DecodeTGA(TgaFile({.ImageType = 10, .Width = 2, .Depth = 32}, rest), image), TTgaError::None);
  EXPECT_EQ(image.Pixels, (TBytes{3, 2, 1, 4, 3, 2, 1, 4}));
}

TEST(TgaDecoderTest, RunLengthPacketsThatOverrunThePictureAreCut) {
  TImage image;
  ASSERT_EQ(DecodeTGA(TgaFile({.ImageType = 10, .Width = 3}, {255, 1, 2, 3}), image), TTgaError::None);
  EXPECT_EQ(image.Pixels, (TBytes{3, 2, 1, 3, 2, 1, 3, 2, 1}));
  TBytes literal = {127};
  for (int k = 0; k < 128; ++k) literal.insert(literal.end(), {9, 9, 9});
  ASSERT_EQ(DecodeTGA(TgaFile({.ImageType = 10, .Width = 2}, literal), image), TTgaError::None);
  EXPECT_EQ(image.Pixels, (TBytes{9, 9, 9, 9, 9, 9}));
}

TEST(TgaDecoderTest, RunLengthDataThatEndsEarlyLeavesTheRestZero) {
  TImage image;
  // Two literal pixels announced, one and a half present.
  ASSERT_EQ(DecodeTGA(TgaFile({.ImageType = 10, .Width = 4}, {1, 1, 2, 3, 4, 5}), image), TTgaError::None);
  EXPECT_EQ(image.Pixels, (TBytes{3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  ASSERT_EQ(DecodeTGA(TgaFile({.ImageType = 10, .Width = 2}, {}), image), TTgaError::None);
  EXPECT_EQ(image.Pixels, TBytes(6, 0));
}

TEST(TgaDecoderTest, EveryOriginGivesRowsBottomFirstAndLeftToRight) {
  // 3 x 2 grey pixels numbered in the order the file stores them; bits 4 and
  // 5 of the descriptor place the origin, bit 3 (alpha bits) changes nothing.
  const std::pair<std::uint8_t, TBytes> origins[] = {{0x00, {1, 2, 3, 4, 5, 6}},
                                                     {0x20, {4, 5, 6, 1, 2, 3}},
                                                     {0x10, {3, 2, 1, 6, 5, 4}},
                                                     {0x30, {6, 5, 4, 3, 2, 1}},
                                                     {0x28, {4, 5, 6, 1, 2, 3}}};
  for (const auto& [descriptor, order] : origins)
    for (const std::uint8_t type : {std::uint8_t{2}, std::uint8_t{10}}) {
      TBytes stored = type == 10 ? TBytes{5} : TBytes{};
      for (std::uint8_t k = 1; k <= 6; ++k) stored.insert(stored.end(), {k, k, k});
      TImage image;
      const TTgaFields fields = {.ImageType = type, .Width = 3, .Height = 2, .Descriptor = descriptor};
      ASSERT_EQ(DecodeTGA(TgaFile(fields, stored), image), TTgaError::None);
      for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(image.Pixels[k * 3], order[k]) << +descriptor << " " << +type;
    }
}

}  // namespace
