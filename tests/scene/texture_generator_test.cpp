#include "scene/texture_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "resources/intro_scripts.h"
#include "scene/texture_operations.h"

namespace {

using TRgb = std::array<int, 3>;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (const int value : values) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

TRgb Pixel(const TexturePixels& pixels, int x, int y) {
  const std::size_t offset = PixelOffset(x, y);
  return {pixels[offset], pixels[offset + 1], pixels[offset + 2]};
}

bool Uniform(const TexturePixels& pixels, TRgb colour) {
  for (int y = 0; y < TextureSize; ++y)
    for (int x = 0; x < TextureSize; ++x)
      if (Pixel(pixels, x, y) != colour) return false;
  return true;
}

// A Bitmap of layer 0 whose picture is white only at the given pixel numbers.
std::vector<std::uint8_t> BitmapScript(std::initializer_list<int> whitePixels) {
  std::vector<std::uint8_t> script(2 + BitmapPictureBytes, 0);
  script[0] = 9;
  for (const int i : whitePixels)
    script[2 + static_cast<std::size_t>(i) / 8] |= static_cast<std::uint8_t>(1 << (i % 8));
  return script;
}

std::uint64_t Fnv1a(const TexturePixels& pixels) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const std::uint8_t byte : pixels) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

const TRgb Black{0, 0, 0};
const TRgb White{255, 255, 255};

}  // namespace

TEST(TextureScript, EmptyAndUnknownOperationsGiveBlack) {
  EXPECT_TRUE(Uniform(*RunTextureScript({}), Black));
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({12, 200, 255, 77})), Black));
  // Each unknown byte is consumed alone, so the Invert after them still runs.
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({12, 255, 7, 0})), White));
}

TEST(TextureScript, LayerControlUsesThreeBytesOnlyForTheFactor) {
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({6, 0, 2, 128, 7, 0})), (TRgb{128, 128, 128})));
  EXPECT_EQ(TextureLayers()[0].Factor, 128);
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({6, 0, 9, 7, 0})), White));
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({7, 0, 6, 0, 0})), Black));
  EXPECT_EQ(TextureLayers()[0].Enabled, 0);
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({7, 0, 6, 0, 0, 6, 0, 1})), White));
}

TEST(TextureScript, LayerModesComposeInOrder) {
  // 200 grey, minus 50 from layer 1, then layer 2 mixed in at factor 0.
  const auto picture =
      RunTextureScript(Bytes({0, 0, 200, 200, 200, 0, 1, 50, 60, 70, 6, 1, 4, 0, 2, 9, 9, 9, 6, 2, 5, 6, 2, 2, 0}));
  EXPECT_TRUE(Uniform(*picture, (TRgb{150, 140, 130})));
  EXPECT_EQ(TextureLayers()[1].Mode, BlendSubtract);
  EXPECT_EQ(TextureLayers()[2].Mode, BlendMix);
}

TEST(TextureScript, FlattenMovesTheCompositionIntoOneLayer) {
  const auto picture = RunTextureScript(Bytes({0, 0, 100, 100, 100, 0, 1, 30, 30, 30, 6, 1, 4, 6, 2, 6}));
  const TextureLayerStack& layers = TextureLayers();
  EXPECT_TRUE(Uniform(layers[0].Pixels, Black));
  EXPECT_TRUE(Uniform(layers[1].Pixels, Black));
  EXPECT_TRUE(Uniform(layers[2].Pixels, (TRgb{70, 70, 70})));
  EXPECT_EQ(layers[1].Mode, BlendSubtract);
  EXPECT_TRUE(Uniform(*picture, (TRgb{70, 70, 70})));
}

TEST(TextureBlend, FactorsAndModes) {
  struct TCase {
    std::uint8_t Mode;
    std::uint8_t Factor;
    int Source;
    int Destination;
    int Expected;
  };
  const TCase cases[] = {
      {BlendAdd, 255, 60, 100, 160},     {BlendAdd, 0, 60, 100, 100},       {BlendAdd, 128, 60, 100, 130},
      {BlendAdd, 255, 200, 200, 255},    {BlendSubtract, 255, 60, 100, 40}, {BlendSubtract, 0, 60, 100, 100},
      {BlendSubtract, 128, 60, 100, 70}, {BlendSubtract, 255, 200, 50, 0},  {BlendMix, 255, 60, 100, 60},
      {BlendMix, 0, 60, 100, 100},       {BlendMix, 128, 60, 100, 79},
  };
  for (const TCase& c : cases) {
    auto layer = std::make_unique<TextureLayer>();
    layer->Pixels.fill(static_cast<std::uint8_t>(c.Source));
    layer->Mode = c.Mode;
    layer->Factor = c.Factor;
    auto picture = std::make_unique<TexturePixels>();
    picture->fill(static_cast<std::uint8_t>(c.Destination));
    BlendLayer(*picture, *layer);
    EXPECT_EQ((*picture)[12345], c.Expected) << "mode " << int(c.Mode) << " factor " << int(c.Factor);
    layer->Enabled = 0;
    BlendLayer(*picture, *layer);
    EXPECT_EQ((*picture)[12345], c.Expected) << "a disabled layer changes nothing";
  }
}

TEST(TextureOperations, BitmapBitOrderAndItsLastByte) {
  const auto picture = RunTextureScript(BitmapScript({0, 2, 9, 65520, 65527}));
  EXPECT_EQ(Pixel(*picture, 0, 0), White);
  EXPECT_EQ(Pixel(*picture, 1, 0), Black);
  EXPECT_EQ(Pixel(*picture, 2, 0), White);
  EXPECT_EQ(Pixel(*picture, 8, 0), Black);
  EXPECT_EQ(Pixel(*picture, 9, 0), White);
  // Byte 8,190 covers pixels 240..247 of the last row, and again 248..255.
  EXPECT_EQ(Pixel(*picture, 240, 255), White);
  EXPECT_EQ(Pixel(*picture, 247, 255), White);
  EXPECT_EQ(Pixel(*picture, 248, 255), White);
  EXPECT_EQ(Pixel(*picture, 255, 255), White);
  for (int x = 249; x < 255; ++x) EXPECT_EQ(Pixel(*picture, x, 255), Black) << x;
}

TEST(TextureOperations, BitmapIsFollowedByTheNextOperation) {
  std::vector<std::uint8_t> script = BitmapScript({5});
  script.insert(script.end(), {7, 0});
  const auto picture = RunTextureScript(script);
  EXPECT_EQ(Pixel(*picture, 5, 0), Black);
  EXPECT_EQ(Pixel(*picture, 6, 0), White);
}

TEST(TextureOperations, BlurReadsTheValuesAlreadyBlurredInThisPass) {
  std::vector<std::uint8_t> script = BitmapScript({10 + 256 * 10, 0});
  script.insert(script.end(), {5, 0});
  const auto picture = RunTextureScript(script);
  const auto red = [&](int x, int y) { return Pixel(*picture, x, y)[0]; };
  EXPECT_EQ(red(9, 10), 51);
  EXPECT_EQ(red(10, 9), 51);
  EXPECT_EQ(red(10, 10), 71);
  EXPECT_EQ(red(9, 11), 10);
  EXPECT_EQ(red(10, 11), 16);
  EXPECT_EQ(red(11, 9), 10);
  EXPECT_EQ(red(11, 10), 16);
  EXPECT_EQ(red(12, 10), 3);
  // Around the wrap: column 0 and row 0 are blurred before the last ones.
  EXPECT_EQ(red(0, 0), 51);
  EXPECT_EQ(red(0, 255), 10);
  EXPECT_EQ(red(255, 0), 10);
  EXPECT_EQ(red(255, 255), 4);
}

TEST(TextureOperations, BlurOfAUniformLayerChangesNothing) {
  const auto picture = RunTextureScript(Bytes({0, 0, 13, 77, 254, 5, 0, 5, 0, 5, 0}));
  EXPECT_TRUE(Uniform(*picture, (TRgb{13, 77, 254})));
}

TEST(TextureOperations, PixelateBlocks) {
  const auto noise = RunTextureScript(Bytes({1, 0}));
  EXPECT_EQ(*RunTextureScript(Bytes({1, 0, 8, 0, 1})), *noise);
  EXPECT_EQ(*RunTextureScript(Bytes({1, 0, 8, 0, 0})), *noise) << "block size 0 acts as 1";
  const auto blocks = RunTextureScript(Bytes({1, 0, 8, 0, 255}));
  for (const auto& [x, y] : {std::pair{0, 0}, {254, 0}, {0, 254}, {254, 254}, {100, 37}})
    EXPECT_EQ(Pixel(*blocks, x, y), Pixel(*noise, 0, 0));
  for (int y = 0; y < 255; ++y) EXPECT_EQ(Pixel(*blocks, 255, y), Pixel(*noise, 255, 0));
  for (int x = 0; x < 255; ++x) EXPECT_EQ(Pixel(*blocks, x, 255), Pixel(*noise, 0, 255));
  EXPECT_EQ(Pixel(*blocks, 255, 255), Pixel(*noise, 255, 255));
}

TEST(TextureOperations, NoiseDrawsThreeComponentsPerPixel) {
  const auto picture = RunTextureScript(Bytes({1, 0}));
  EXPECT_EQ(Pixel(*picture, 0, 0), (TRgb{0, 8, 219}));
  EXPECT_EQ(Pixel(*picture, 1, 0), (TRgb{51, 69, 171}));
  // Grey 0 then 8 (of 256) tinted by (255, 128, 64).
  const auto mono = RunTextureScript(Bytes({2, 0, 255, 128, 64}));
  EXPECT_EQ(Pixel(*mono, 0, 0), (TRgb{0, 0, 0}));
  EXPECT_EQ(Pixel(*mono, 1, 0), (TRgb{8, 4, 2}));
}

TEST(TextureOperations, RandomDots) {
  TRandom random(1234);
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({11, 0, 255, 255, 255, 0}), random), Black));
  EXPECT_EQ(random.State(), 1234u);
  // y is drawn first (0), then x (8).
  const auto picture = RunTextureScript(Bytes({11, 0, 10, 20, 30, 1}));
  EXPECT_EQ(Pixel(*picture, 8, 0), (TRgb{10, 20, 30}));
  EXPECT_EQ(Pixel(*picture, 0, 8), Black);
}

TEST(TextureOperations, PlasmasAtChosenPixels) {
  const auto plasma = RunTextureScript(Bytes({3, 0, 255, 128, 0, 5}));
  EXPECT_EQ(Pixel(*plasma, 0, 0), (TRgb{128, 64, 0}));
  EXPECT_EQ(Pixel(*plasma, 17, 200), (TRgb{164, 82, 0}));
  EXPECT_EQ(Pixel(*plasma, 100, 3), (TRgb{130, 65, 0}));
  EXPECT_EQ(Pixel(*plasma, 255, 255), (TRgb{136, 68, 0}));
  const auto warped = RunTextureScript(Bytes({10, 0, 255, 255, 255, 7, 3}));
  EXPECT_EQ(Pixel(*warped, 17, 200)[0], 232);
  EXPECT_EQ(Pixel(*warped, 100, 3)[0], 205);
  EXPECT_EQ(Pixel(*warped, 5, 250)[0], 130);
  EXPECT_EQ(Pixel(*warped, 37, 91)[0], 157);
}

TEST(TextureOperations, SineRemapAndInvert) {
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({0, 0, 0, 64, 192, 4, 0})), (TRgb{128, 255, 1})));
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({0, 0, 32, 100, 250, 4, 0})), (TRgb{218, 209, 109})));
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({0, 0, 32, 100, 250, 7, 0})), (TRgb{223, 155, 5})));
}

TEST(TextureScript, LayersAboveTwoAreSkippedWithTheirParameters) {
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({0, 3, 9, 9, 9, 7, 0})), White));
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({6, 200, 2, 7, 7, 0})), White));
  std::vector<std::uint8_t> bitmap = BitmapScript({0});
  bitmap[1] = 255;
  bitmap.insert(bitmap.end(), {7, 0});
  EXPECT_TRUE(Uniform(*RunTextureScript(bitmap), White));
}

TEST(TextureScript, MissingParametersReadAsZeroAndEndTheScript) {
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({0, 0, 255})), (TRgb{255, 0, 0})));
  EXPECT_TRUE(Uniform(*RunTextureScript(Bytes({7})), White));
  const auto picture = RunTextureScript(Bytes({9, 0, 0xFF}));
  for (int x = 0; x < 8; ++x) EXPECT_EQ(Pixel(*picture, x, 0), White);
  EXPECT_EQ(Pixel(*picture, 8, 0), Black);
  EXPECT_EQ(Pixel(*picture, 255, 255), Black);
}

TEST(TextureScript, TheShippedRing) {
  const std::span<const std::uint8_t> script = IntroTextureScript();
  ASSERT_EQ(script.size(), 8237u);
  const auto first = RunTextureScript(script);
  const auto second = RunTextureScript(script);
  EXPECT_EQ(*first, *second);
  EXPECT_EQ(Fnv1a(*first), 4757587332049956648ull);
  // Grey, symmetric on the middle row and column: black inside and outside,
  // a plateau where the ring was widest (the truncating blur keeps 233 of 255).
  for (int k = 0; k < TextureSize; ++k) {
    const TRgb row = Pixel(*first, k, 128);
    EXPECT_EQ(row, Pixel(*first, 128, k)) << k;
    EXPECT_TRUE(row[0] == row[1] && row[1] == row[2]) << k;
    const bool outside = k < 8 || (k > 47 && k < 209) || k > 247;
    const bool plateau = (k >= 24 && k <= 32) || (k >= 224 && k <= 232);
    EXPECT_TRUE(!outside || row == Black) << k;
    EXPECT_TRUE(!plateau || row[0] == 233) << k;
  }
}

TEST(TextureScript, ArbitraryBytesStayInsideTheScriptAndTheLayers) {
  std::mt19937 random(7);
  for (int run = 0; run < 60; ++run) {
    std::vector<std::uint8_t> script(random() % 32);
    for (std::uint8_t& byte : script) byte = static_cast<std::uint8_t>(random() % 16 == 0 ? random() : random() % 13);
    if (run % 15 == 0) script.insert(script.end(), {9, static_cast<std::uint8_t>(run % 4), 0x55});
    TRandom firstRandom(static_cast<std::uint32_t>(run));
    TRandom secondRandom(static_cast<std::uint32_t>(run));
    const auto first = RunTextureScript(script, firstRandom);
    EXPECT_EQ(*RunTextureScript(script, secondRandom), *first) << "run " << run;
  }
}
