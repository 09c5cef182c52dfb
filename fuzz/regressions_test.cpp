// Every regression input still reaches the case it is kept for: one that no
// longer did would be replayed by every fuzz run and test nothing.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <span>

#include "fuzz/regressions.h"
#include "platform/fake_platform.h"
#include "scene/mesh_generator.h"
#include "scene/scroller_text.h"
#include "scene/texture_generator.h"
#include "scene/texture_operations.h"
#include "tarnxm/tarnxm.h"
#include "textures/bmp_decoder.h"
#include "textures/jpg_decoder.h"
#include "textures/tga_decoder.h"

namespace {

using TBytes = std::vector<std::uint8_t>;
using TExpectations = std::map<std::string, std::function<void(const TBytes&)>>;

// Each input of the list, checked by its own expectation; an input without
// one fails.
void ExpectEach(const std::vector<TRegression>& inputs, const TExpectations& expectations) {
  ASSERT_EQ(inputs.size(), expectations.size());
  for (const TRegression& input : inputs) {
    SCOPED_TRACE(input.Name);
    ASSERT_TRUE(expectations.contains(input.Name));
    expectations.at(input.Name)(input.Bytes);
  }
}

std::shared_ptr<const TTarnXMSong> Loaded(const TBytes& bytes) {
  const TTarnXMLoad load = LoadModule(bytes.data(), bytes.size());
  EXPECT_TRUE(load) << load.Error;
  return load.Song;
}

void ExpectShortPatternData(const TBytes& bytes) {
  const auto song = Loaded(bytes);
  ASSERT_TRUE(song);
  EXPECT_EQ(PatternRows(*song, 1), 4);
  EXPECT_EQ(PatternCell(*song, 1, 0, 0).Note, 49);
  for (std::int32_t row = 1; row < 4; ++row) EXPECT_EQ(PatternCell(*song, 1, row, 0).Note, 0) << row;
  EXPECT_EQ(PatternCell(*song, 2, 0, 0).Note, 61);
}

TEST(FuzzRegressions, ModulesReachTheirCases) {
  const auto instruments = [](const TBytes& bytes) {
    const auto song = Loaded(bytes);
    return song ? DescribeInstruments(*song) : std::vector<TTarnXMInstrumentInfo>{};
  };
  ExpectEach(ModuleRegressions(), {{"short-pattern-data-0104.xm", ExpectShortPatternData},
                                   {"short-pattern-data-0102.xm", ExpectShortPatternData},
                                   {"short-instrument-header.xm",
                                    [&](const TBytes& bytes) {
                                      const auto described = instruments(bytes);
                                      ASSERT_EQ(described.size(), 1u);
                                      EXPECT_TRUE(described[0].VolumeEnvelope.Points.empty());
                                      EXPECT_EQ(described[0].Samples.at(0).Length, 300);
                                    }},
                                   {"huge-patterns.xm",
                                    [](const TBytes& bytes) {
                                      const auto song = Loaded(bytes);
                                      ASSERT_TRUE(song);
                                      EXPECT_EQ(DescribeSong(*song).Channels, 255);
                                      EXPECT_EQ(PatternRows(*song, 7), 256);
                                    }},
                                   {"longest-pattern.xm",
                                    [](const TBytes& bytes) {
                                      const auto song = Loaded(bytes);
                                      ASSERT_TRUE(song);
                                      EXPECT_EQ(PatternRows(*song, 0), 65535);
                                      EXPECT_EQ(PatternCell(*song, 0, 0, 0).Note, 0);
                                    }},
                                   {"huge-samples.xm",
                                    [&](const TBytes& bytes) {
                                      const auto described = instruments(bytes);
                                      ASSERT_EQ(described.size(), 1u);
                                      EXPECT_EQ(described[0].Samples.size(), 256u);
                                      for (const TTarnXMSampleInfo& sample : described[0].Samples)
                                        EXPECT_EQ(sample.Length, 0);
                                    }},
                                   {"loops-that-re-arm-each-other.xm",
                                    [](const TBytes& bytes) {
                                      TTarnXMRenderer renderer(Loaded(bytes));
                                      EXPECT_TRUE(renderer.Subsongs()[0].Ends);
                                    }},
                                   {"one-byte-chunks.xm", [](const TBytes& bytes) {
                                      const auto song = Loaded(bytes);
                                      ASSERT_TRUE(song);
                                      EXPECT_FALSE(DescribeSong(*song).MacrosFromFile);
                                    }}});
}

// Rows of a decoded picture in the opposite order.
TBytes RowsReversed(const TImage& image) {
  const std::size_t row = image.Pixels.size() / image.Height;
  TBytes reversed;
  for (std::size_t y = image.Height; y-- > 0;)
    reversed.insert(reversed.end(), image.Pixels.begin() + y * row, image.Pixels.begin() + (y + 1) * row);
  return reversed;
}

TEST(FuzzRegressions, PicturesReachTheirCases) {
  std::map<std::string, TImage> bmps;
  std::map<std::string, TBmpError> errors;
  for (const TRegression& input : BmpRegressions()) errors[input.Name] = DecodeBMP(input.Bytes, bmps[input.Name]);
  const auto decoded = [&](const std::string& name) -> const TImage& {
    EXPECT_EQ(errors[name], TBmpError::None) << name;
    return bmps[name];
  };
  EXPECT_EQ(decoded("info-124-gap.bmp").Pixels, decoded("info-108.bmp").Pixels);
  EXPECT_EQ(decoded("top-down.bmp").Pixels, RowsReversed(decoded("info-108.bmp")));
  EXPECT_EQ(decoded("32-bit.bmp").Layout, TPixelLayout::Rgba);
  EXPECT_EQ(decoded("32-bit-masks-top-down.bmp").Pixels, RowsReversed(decoded("32-bit.bmp")));
  EXPECT_EQ(decoded("largest-from-few-bytes.bmp").Pixels.size(), MaxImageBytes);
  EXPECT_EQ(errors["info-124-cut.bmp"], TBmpError::ShortHeader);
  EXPECT_EQ(errors["endless-palette.bmp"], TBmpError::ShortPalette);
  EXPECT_EQ(errors.size(), 8u);

  // Grey pixels, by their red value.
  const auto grey = [](const TBytes& order) {
    return [order](const TBytes& bytes) {
      TImage image;
      ASSERT_EQ(DecodeTGA(bytes, image), TTgaError::None);
      ASSERT_EQ(image.Pixels.size(), 3 * order.size());
      for (std::size_t k = 0; k < order.size(); ++k) EXPECT_EQ(image.Pixels[3 * k], order[k]) << k;
    };
  };
  ExpectEach(TgaRegressions(), {{"top-left.tga", grey({4, 5, 6, 1, 2, 3})},
                                {"top-left-rle.tga", grey({2, 3, 4, 7, 7, 1})},
                                {"top-right.tga", grey({6, 5, 4, 3, 2, 1})},
                                {"rle-past-the-picture.tga", grey({3, 3})}});

  for (const TRegression& input : JpegRegressions()) {
    TImage image;
    EXPECT_FALSE(DecodeJPG(input.Bytes, image)) << input.Name;
    EXPECT_TRUE(image.Pixels.empty()) << input.Name;
  }
}

TEST(FuzzRegressions, ScriptsReachTheirCases) {
  ExpectEach(TextureScriptRegressions(), {{"bitmap-cut-short.bin", [](const TBytes& bytes) {
                                             // The operation, its layer and its picture, whose
                                             // missing bytes read as 0.
                                             TBytes whole = bytes;
                                             whole.resize(2 + BitmapPictureBytes, 0);
                                             EXPECT_EQ(*RunTextureScript(bytes), *RunTextureScript(whole));
                                           }}});
  const auto messageBoxes = [](std::size_t count) {
    return [count](const TBytes& bytes) {
      platform::TFakePlatform fake;
      platform::SetPlatform(&fake);
      RunMeshScript(bytes);
      platform::SetPlatform(nullptr);
      EXPECT_EQ(fake.MessageBoxes.size(), count);
    };
  };
  ExpectEach(MeshScriptRegressions(),
             {{"clip-box-wrong-end.bin", messageBoxes(1)}, {"clip-box-cut-short.bin", messageBoxes(0)}});
  ExpectEach(ScrollerTextRegressions(), {{"lines-past-the-data.text", [](const TBytes& bytes) {
                                            EXPECT_EQ(ParseScrollerText(bytes), (std::vector<std::string>{"one", "x"}));
                                          }}});
}

}  // namespace
