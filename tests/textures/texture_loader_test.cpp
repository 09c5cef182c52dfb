// The loaders on a real context: what reaches OpenGL, and what the user is
// told when an image cannot be had.
#include "textures/texture_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/fake_platform.h"
#include "platform/gl.h"
#include "platform/offscreen_context.h"
#include "platform/resources.h"
#include "tests/textures/image_bytes.h"

namespace {

class TextureLoaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Context = std::make_unique<platform::TOffscreenContext>(64, 64); }
  static void TearDownTestSuite() { Context.reset(); }

  void SetUp() override {
    ASSERT_TRUE(Context->Ok()) << Context->Error();
    platform::SetPlatform(&Fake);
    platform::SetResources(&Resources);
    Folder = std::filesystem::temp_directory_path() /
             ("driftlow-textures-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(Folder);
  }

  void TearDown() override {
    platform::SetResources(nullptr);
    platform::SetPlatform(nullptr);
    std::filesystem::remove_all(Folder);
  }

  void AddResource(const std::string& name, const std::string& type, TBytes bytes) {
    Held.push_back(std::make_unique<TBytes>(std::move(bytes)));
    Resources.push_back({name, type, *Held.back()});
  }

  std::string WriteFile(const std::string& name, const TBytes& bytes) {
    const std::string path = (Folder / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // Level 0 of a texture, as RGB (or RGBA) rows without padding.
  static TBytes TextureRgb(std::uint32_t texture, int width, int height, GLenum format = GL_RGB) {
    TBytes pixels(static_cast<std::size_t>(width) * height * (format == GL_RGBA ? 4 : 3));
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return pixels;
  }

  static inline std::unique_ptr<platform::TOffscreenContext> Context;
  platform::TFakePlatform Fake;
  platform::TResourceSet Resources;
  std::vector<std::unique_ptr<TBytes>> Held;
  std::filesystem::path Folder;
};

TBytes SmallJpeg() {
  TBytes samples;
  for (int k = 0; k < 16 * 16; ++k) samples.insert(samples.end(), {200, 100, 50});
  return JpegFile(16, 16, 3, samples);
}

TEST_F(TextureLoaderTest, ExtensionChoosesTheLoaderWithoutRegardToCase) {
  AddResource("LOGO", "JPEG", SmallJpeg());
  std::uint32_t lower = 0;
  std::uint32_t upper = 0;
  ASSERT_TRUE(LoadTexture("logo.jpg", lower, true));
  ASSERT_TRUE(LoadTexture("LOGO.JPG", upper, true));
  EXPECT_NE(lower, 0u);
  EXPECT_NE(upper, lower);
  EXPECT_EQ(TextureRgb(lower, 16, 16), TextureRgb(upper, 16, 16));
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

TEST_F(TextureLoaderTest, UnknownOrShortNamesLoadNothingAndSayNothing) {
  AddResource("LOGO", "JPEG", SmallJpeg());
  std::uint32_t texture = 77;
  EXPECT_FALSE(LoadTexture("logo.jpeg", texture, true));
  EXPECT_FALSE(LoadTexture("bmp", texture, true));
  EXPECT_FALSE(LoadTexture("", texture, true));
  EXPECT_EQ(texture, 77u);
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

TEST_F(TextureLoaderTest, ResourceNameIsThePartBeforeTheFirstDot) {
  std::uint32_t texture = 0;
  EXPECT_FALSE(LoadTexture("a.b.bmp", texture, true));
  AddResource("A", "BMP", BmpFile({}, {1, 2, 3, 0}));
  EXPECT_TRUE(LoadTexture("a.b.bmp", texture, true));
  EXPECT_EQ(Fake.MessageBoxes, (std::vector<std::string>{"BMP Texture: File not found in resource - a.b.bmp"}));
}

TEST_F(TextureLoaderTest, BmpRowsReachOpenGlAsStoredWithRedAndBlueExchanged) {
  // 2 x 2: rows of 6 bytes of pixels and 2 of padding, bottom row first.
  const TBytes rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  std::uint32_t texture = 0;
  ASSERT_TRUE(LoadBMPTexture(WriteFile("square.bmp", BmpFile({.Width = 2, .Height = 2}, rows)), texture, false));
  EXPECT_EQ(TextureRgb(texture, 2, 2), (TBytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
}

TEST_F(TextureLoaderTest, BmpStoredTopRowFirstWithAlphaReachesOpenGlBottomRowFirst) {
  // What image tools write for 32 bits: a 124-byte header with bit fields.
  const TBmpFields fields = {.Width = 2, .Height = -2, .BitsPerPixel = 32, .Compression = 3, .InfoSize = 124};
  const TBytes stored = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  std::uint32_t texture = 0;
  ASSERT_TRUE(LoadBMPTexture(WriteFile("alpha.bmp", BmpFile(fields, stored)), texture, false));
  EXPECT_EQ(TextureRgb(texture, 2, 2, GL_RGBA), (TBytes{11, 10, 9, 12, 15, 14, 13, 16, 3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST_F(TextureLoaderTest, BmpFailuresSayWhatWentWrong) {
  ::testing::internal::CaptureStderr();
  std::uint32_t texture = 5;
  EXPECT_FALSE(LoadBMPTexture("font.bmp", texture, true));
  AddResource("SHORT", "BMP", BmpFile({.Width = 2, .Height = 2}, TBytes(15, 0)));
  EXPECT_FALSE(LoadBMPTexture("short.bmp", texture, true));
  AddResource("LOCKED", "BMP", {});
  Resources.back().Data = {};
  EXPECT_FALSE(LoadBMPTexture("locked.bmp", texture, true));
  const std::string missing = (Folder / "missing.bmp").string();
  EXPECT_FALSE(LoadBMPTexture(missing, texture, false));
  EXPECT_FALSE(
      LoadBMPTexture(WriteFile("short.bmp", BmpFile({.Width = 2, .Height = 2}, TBytes(15, 0))), texture, false));
  EXPECT_FALSE(LoadBMPTexture(WriteFile("palette.bmp", BmpFile({.ColorsUsed = 4}, TBytes(15, 0))), texture, false));
  EXPECT_FALSE(LoadBMPTexture(WriteFile("deep.bmp", BmpFile({.BitsPerPixel = 16}, TBytes(16, 0))), texture, false));
  EXPECT_FALSE(LoadBMPTexture(WriteFile("far.bmp", BmpFile({.DataOffset = 4000}, TBytes(16, 0))), texture, false));
  const std::string log = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("deep.bmp: only uncompressed 24- and 32-bit pixels"), std::string::npos) << log;
  EXPECT_NE(log.find("far.bmp: the pixel data offset lies outside the file"), std::string::npos) << log;
  EXPECT_EQ(texture, 5u);
  EXPECT_EQ(Fake.MessageBoxes, (std::vector<std::string>{
                                   "BMP Texture: File not found in resource - font.bmp",
                                   "BMP Unit: Unable to read from resource - short.bmp",
                                   "BMP Unit: Unable to read from resource - locked.bmp",
                                   "BMP Unit: Error opening " + missing,
                                   "BMP Unit: Error reading bitmap data",
                                   "BMP Unit: Error reading palette",
                                   "BMP Unit: Error reading bitmap data",
                                   "BMP Unit: Error reading bitmap data",
                               }));
  for (const std::uint32_t flags : Fake.MessageBoxFlags) EXPECT_EQ(flags, platform::MB_OK);
}

TEST_F(TextureLoaderTest, JpegFailuresSayWhatWentWrong) {
  std::uint32_t texture = 5;
  EXPECT_FALSE(LoadJPGTexture("logo.jpg", texture, true));
  AddResource("LOGO", "JPEG", {0xFF, 0xD8, 0xFF, 0xFF, 0x00});
  EXPECT_FALSE(LoadJPGTexture("logo.jpg", texture, true));
  EXPECT_FALSE(LoadJPGTexture("nowhere.jpg", texture, false));
  EXPECT_FALSE(LoadJPGTexture(WriteFile("bad.jpg", {1, 2, 3}), texture, false));
  TBytes cut = SmallJpeg();
  cut.erase(cut.end() - 2, cut.end());
  EXPECT_FALSE(LoadJPGTexture(WriteFile("cut.jpg", cut), texture, false));
  EXPECT_EQ(texture, 5u);
  const std::string bad = (Folder / "bad.jpg").string();
  EXPECT_EQ(Fake.MessageBoxes, (std::vector<std::string>{
                                   "JPG Texture: File not found in resource - logo.jpg",
                                   "BMP Unit: Couldn't load JPG Resource - \"logo.jpg\"",
                                   "BMP Unit: Couldn't load JPG - \"nowhere.jpg\"",
                                   "BMP Unit: Couldn't load JPG - \"" + bad + "\"",
                                   "BMP Unit: Couldn't load JPG - \"" + (Folder / "cut.jpg").string() + "\"",
                               }));
}

TEST_F(TextureLoaderTest, JpegFromAFileLoads) {
  std::uint32_t texture = 0;
  ASSERT_TRUE(LoadTexture(WriteFile("picture.JPG", SmallJpeg()), texture, false));
  const TBytes pixels = TextureRgb(texture, 16, 16);
  EXPECT_NEAR(pixels[0], 200, 4);
  EXPECT_NEAR(pixels[1], 100, 4);
  EXPECT_NEAR(pixels[2], 50, 4);
}

TEST_F(TextureLoaderTest, TgaHeaderChecksAndReadFailuresSayWhatWentWrong) {
  std::uint32_t texture = 5;
  const auto load = [&](const std::string& name, const TBytes& bytes) {
    EXPECT_FALSE(LoadTGATexture(WriteFile(name, bytes), texture, false));
  };
  load("a.tga", TgaFile({.ColorMapType = 1, .ImageType = 1, .Depth = 16}, TBytes(8, 0)));
  load("b.tga", TgaFile({.ColorMapType = 1, .Depth = 16}, TBytes(8, 0)));
  load("c.tga", TgaFile({.Depth = 16}, TBytes(8, 0)));
  load("d.tga", TgaFile({.Width = 4}, TBytes(11, 0)));
  const std::string missing = (Folder / "e.tga").string();
  EXPECT_FALSE(LoadTGATexture(missing, texture, false));
  EXPECT_FALSE(LoadTGATexture("f.tga", texture, true));
  AddResource("G", "TGA", TgaFile({.Width = 4}, TBytes(11, 0)));
  EXPECT_FALSE(LoadTGATexture("g.tga", texture, true));
  EXPECT_EQ(texture, 5u);
  const auto quoted = [&](const char* name) {
    std::string text = "\"";
    text += (Folder / name).string();
    text += '"';
    return text;
  };
  EXPECT_EQ(Fake.MessageBoxes,
            (std::vector<std::string>{
                "TGA File Error: Couldn't load " + quoted("a.tga") + ". Only 24 and 32bit TGA supported.",
                "TGA File Error: Couldn't load " + quoted("b.tga") + ". Colormapped TGA files not supported.",
                "TGA File Error: Couldn't load " + quoted("c.tga") + ". Only 24 and 32 bit TGA files supported.",
                "TGA File Error: Couldn't read file " + quoted("d.tga") + ".",
                "TGA Texture: File not found  - " + missing,
                "TGA Texture: File not found in resource - f.tga",
                "BMP Unit: Unable to read from resource - g.tga",
            }));
}

TEST_F(TextureLoaderTest, Tga24BitRowsOfAnyWidthUploadIntactAndTheAlignmentIsRestored) {
  // Rows of 6 bytes: with an unpack alignment of 4 the second row would start
  // two bytes late.
  AddResource("ODD", "TGA", TgaFile({.Width = 2, .Height = 2}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  std::uint32_t texture = 0;
  ASSERT_TRUE(LoadTexture("odd.tga", texture, true));
  EXPECT_EQ(TextureRgb(texture, 2, 2), (TBytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
}

}  // namespace
