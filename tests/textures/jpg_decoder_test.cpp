#include "textures/jpg_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/textures/image_bytes.h"

namespace {

// 16 x 32 RGB: the top half red, the bottom half blue.
TBytes RedOverBlue() {
  TBytes samples;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 16; ++x) {
      const TBytes pixel = y < 16 ? TBytes{255, 0, 0} : TBytes{0, 0, 255};
      samples.insert(samples.end(), pixel.begin(), pixel.end());
    }
  return JpegFile(16, 32, 3, samples);
}

void ExpectNear(const std::uint8_t* pixel, int r, int g, int b) {
  EXPECT_NEAR(pixel[0], r, 6);
  EXPECT_NEAR(pixel[1], g, 6);
  EXPECT_NEAR(pixel[2], b, 6);
  EXPECT_EQ(pixel[3], 255);
}

TEST(JpgDecoderTest, TopRowOfThePictureEndsUpLast) {
  TImage image;
  ASSERT_TRUE(DecodeJPG(RedOverBlue(), image));
  EXPECT_EQ(image.Width, 16);
  EXPECT_EQ(image.Height, 32);
  EXPECT_EQ(image.Layout, TPixelLayout::Rgba);
  ASSERT_EQ(image.Pixels.size(), 16u * 32u * 4u);
  ExpectNear(image.Pixels.data(), 0, 0, 255);
  ExpectNear(image.Pixels.data() + 31 * 16 * 4 + 15 * 4, 255, 0, 0);
}

TEST(JpgDecoderTest, GreyScaleGivesEqualRedGreenAndBlue) {
  TBytes samples(8 * 8);
  for (std::size_t k = 0; k < samples.size(); ++k) samples[k] = k < 32 ? 200 : 60;
  TImage image;
  ASSERT_TRUE(DecodeJPG(JpegFile(8, 8, 1, samples), image));
  ExpectNear(image.Pixels.data(), 60, 60, 60);
  ExpectNear(image.Pixels.data() + 7 * 8 * 4, 200, 200, 200);
  EXPECT_EQ(image.Pixels[0], image.Pixels[1]);
  EXPECT_EQ(image.Pixels[0], image.Pixels[2]);
}

// libjpeg's own error exit would end the test program here.
TEST(JpgDecoderTest, CorruptOrUnsupportedDataFailsAndTheProcessGoesOn) {
  TImage image;
  EXPECT_FALSE(DecodeJPG({}, image));
  const TBytes garbage = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x03, 0x42, 0x13, 0x37};
  EXPECT_FALSE(DecodeJPG(garbage, image));
  TBytes cut = RedOverBlue();
  cut.resize(120);
  EXPECT_FALSE(DecodeJPG(cut, image));
  EXPECT_FALSE(DecodeJPG(JpegFile(8, 8, 4, TBytes(8 * 8 * 4, 100)), image));
  EXPECT_TRUE(image.Pixels.empty());
  // After all that, a good picture still decodes.
  EXPECT_TRUE(DecodeJPG(RedOverBlue(), image));
}

// libjpeg only warns about these and would hand back a patched-up picture.
TEST(JpgDecoderTest, TruncatedOrCorruptScanFails) {
  TBytes samples;
  for (int k = 0; k < 32 * 32; ++k)
    samples.insert(samples.end(), {static_cast<std::uint8_t>(k * 8), static_cast<std::uint8_t>(k / 4), 9});
  const TBytes good = JpegFile(32, 32, 3, samples);
  std::size_t scan = 0;
  while (good[scan] != 0xFF || good[scan + 1] != 0xDA) ++scan;
  const std::size_t middle = (scan + good.size()) / 2;
  TBytes inverted = good;
  for (std::size_t k = middle; k < middle + 16; ++k) inverted[k] ^= 0xFF;
  const TBytes cuts[] = {TBytes(good.begin(), good.begin() + middle), TBytes(good.begin(), good.end() - 2), inverted};
  TImage image;
  for (const TBytes& damaged : cuts) {
    EXPECT_FALSE(DecodeJPG(damaged, image)) << damaged.size();
    EXPECT_TRUE(image.Pixels.empty());
  }
}

}  // namespace
