#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tests/tarnxm/render_fixture.h"
#include "tools/module_video/channel_scopes.h"
#include "tools/module_video/pattern_text.h"
#include "tools/module_video/scope_trigger.h"
#include "tools/module_video/video_layout.h"

namespace {

constexpr double Rate = 44100;
constexpr std::size_t Width = 1764;  // 40 ms
constexpr std::size_t Reach = Width / 2;

// A steady wave's trace at successive 60 Hz frames stays where the first one
// was: the largest difference of any point from the first frame's trace.
template <typename TWave>
double Drift(TWave wave, double hertz, bool triggered) {
  TScopeTrigger trigger;
  std::vector<float> first;
  double drift = 0;
  for (int frame = 0; frame < 40; ++frame) {
    const double at = std::floor(frame * Rate / 60) - static_cast<double>(Reach + Width / 2);
    std::vector<float> samples(Width + 2 * Reach);
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<float>(wave(2 * std::numbers::pi * hertz * (at + static_cast<double>(i)) / Rate));
    const double start = triggered ? trigger.Find(samples, Width) : static_cast<double>(Reach);
    std::vector<float> trace;
    for (std::size_t k = 0; k < Width; k += 7) trace.push_back(SampleAt(samples, start + static_cast<double>(k)));
    if (first.empty()) first = trace;
    for (std::size_t k = 0; k < trace.size(); ++k) drift = std::max(drift, std::abs(double(trace[k] - first[k])));
  }
  return drift;
}

}  // namespace

TEST(ScopeTriggerTest, SteadyWavesStandStill) {
  const auto sine = [](double x) { return 0.5 * std::sin(x); };
  // Three rising crossings a period: only the likeness to the last trace
  // tells them apart. Its sharp third harmonic, interpolated between samples,
  // moves by a few hundredths at most: a pixel of a scope 60 pixels high.
  const auto harmonics = [](double x) { return 0.3 * std::sin(x) + 0.3 * std::sin(3 * x + 1) + 0.1; };
  for (const double hertz : {55.3, 261.63, 1234.5}) {
    EXPECT_LT(Drift(sine, hertz, true), 0.002) << hertz;
    EXPECT_GT(Drift(sine, hertz, false), 0.3) << hertz << " Hz moves without the trigger";
    EXPECT_LT(Drift(harmonics, hertz, true), 0.05) << hertz;
  }
  // Silence has no crossing: the trace keeps its place.
  TScopeTrigger trigger;
  EXPECT_EQ(trigger.Find(std::vector<float>(Width + 2 * Reach, 0.0f), Width), static_cast<double>(Reach));
}

TEST(PatternTextTest, CellsAsTrackersPrintThem) {
  const struct {
    TTarnXMCell Cell;
    const char* Text;
  } cases[] = {
      {{}, "... .. .. ..."},
      {{49, 1, 0x50, 0x0A, 0x0F}, "C-4 01 40 A0F"},
      {{2, 0x80, 0x10, 0x0F, 0x7D}, "C#0 80 00 F7D"},
      {{96, 0, 0x6A, 0x0E, 0xC5}, "B-7 .. -A EC5"},
      {{97, 0, 0xFF, 0x23, 0x01}, "=== .. MF Z01"},
      {{0, 0, 0x0F, 0x25, 0x10}, "... .. .. \\10"},
      {{0, 0, 0xC8, 0, 0x37}, "... .. P8 037"},
  };
  for (const auto& [cell, text] : cases) EXPECT_EQ(CellText(cell), text);
}

TEST(VideoLayoutTest, EveryChannelHasALegibleScopeAndPatternColumns) {
  for (const auto& [width, height] : {std::pair{320, 180}, {1280, 720}, {1920, 1080}})
    for (const int channels : {1, 4, 8, 32, 64, 65, 128, 256}) {
      SCOPED_TRACE(testing::Message() << width << "x" << height << ", " << channels << " channels");
      const TVideoLayout layout = LayOutVideo(width, height, channels);
      const int glyph = GlyphWidth * layout.Scale;
      std::vector<TBox> boxes;
      for (int slot = 0; slot < layout.ScopesPerPage; ++slot) {
        const TBox box = layout.ScopeBox(slot);
        EXPECT_GE(box.Width, 10 * glyph);
        EXPECT_GE(box.Height, 2 * LineHeight * layout.Scale);
        EXPECT_GE(box.X, 0);
        EXPECT_LE(box.X + box.Width, width);
        EXPECT_GE(box.Y, layout.Header.Y + layout.Header.Height);
        EXPECT_LE(box.Y + box.Height, layout.Pattern.Y);
        for (const TBox& other : boxes)
          EXPECT_TRUE(box.X >= other.X + other.Width || other.X >= box.X + box.Width ||
                      box.Y >= other.Y + other.Height || other.Y >= box.Y + box.Height);
        boxes.push_back(box);
      }
      EXPECT_GE(layout.ScopesPerPage * Pages(channels, layout.ScopesPerPage), channels);
      // Up to 32 channels on one page from 1280x720 up.
      if (channels <= 32 && height >= 720) {
        EXPECT_EQ(layout.ScopesPerPage, channels);
      }
      const int patternGlyph = GlyphWidth * layout.PatternScale;
      EXPECT_LE((RowNumberChars + layout.PatternChannels * CellChars - 1) * patternGlyph, layout.Pattern.Width);
      EXPECT_EQ(layout.PatternRows % 2, 1);
      EXPECT_LE((layout.PatternRows + 1) * LineHeight * layout.PatternScale, layout.Pattern.Height);
      EXPECT_LE(layout.Pattern.Y + layout.Pattern.Height, height);
    }
}

TEST(ChannelScopesTest, ChannelsAloneAddUpToTheMixInEveryWindow) {
  const TBytes bytes = FourChannelSong();
  const std::shared_ptr<const TTarnXMSong> song = LoadModule(bytes.data(), bytes.size()).Song;
  ASSERT_TRUE(song);
  TTarnXMRenderOptions mono;
  mono.Stereo = false;
  // Channel 3 unheard: silent in the mix, and given no renderer.
  TTarnXMRenderer mix(song, mono);
  mix.SetMuted(2, true);
  std::vector<float> heard(100000);
  heard.resize(mix.Render(heard.data(), heard.size()));
  std::vector<std::optional<TTarnXMRenderer>> channels(4);
  for (const int channel : {0, 1, 3}) channels[std::size_t(channel)].emplace(song, mono).Solo(channel);
  TChannelScopes scopes(std::move(channels));

  const auto end = static_cast<std::int64_t>(heard.size());
  for (std::int64_t first = -3000; first < end + 3000; first += 7001) {
    std::vector<float> sum(4000);
    for (int channel = 0; channel < 4; ++channel) {
      const std::span<const float> samples = scopes.Samples(channel, first, sum.size());
      for (std::size_t k = 0; k < sum.size(); ++k) sum[k] += samples[k];
    }
    for (std::size_t k = 0; k < sum.size(); ++k) {
      const std::int64_t frame = first + static_cast<std::int64_t>(k);
      ASSERT_NEAR(sum[k], frame >= 0 && frame < end ? heard[std::size_t(frame)] : 0.0f, 1e-5) << frame;
    }
    // Frames behind the window go, as the video's frames move on.
    scopes.Forget(first);
  }
}
