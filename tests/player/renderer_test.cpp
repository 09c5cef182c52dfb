// The public renderer on songs written in code: seeking lands on the samples
// an uninterrupted render plays there, subsongs are found, loops end as
// asked, and muting, separation and gain shape the mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"
#include "tools/xm_writer/xm_writer.h"

namespace {

constexpr int Rate = 44100;
constexpr int Rows = 16;

// Two channels, one voice hard left playing a looped tone and one hard right
// playing a tone that ends by itself (a click to remove, in the middle of
// whatever buffer the caller gives), with notes, volume slides and vibrato
// on every other row. Patterns 0..2; the orders and last-row jumps are the
// test's.
TXmSong TwoVoiceSong(std::vector<std::uint8_t> orders) {
  TXmSong song;
  song.Channels = 2;
  song.Orders = std::move(orders);
  TXmInstrument instrument;
  TXmSample sample;
  for (int k = 0; k < 3000; ++k)
    sample.Data.push_back(static_cast<std::int16_t>(12000 * std::sin(2 * std::numbers::pi * k / 64) + 30 * (k % 7)));
  sample.Panning = 255;
  instrument.Samples.push_back(sample);
  TXmInstrument looped = instrument;
  TXmSample& tone = looped.Samples[0];
  tone.Data.resize(64);
  tone.Loop = TXmLoop::Forward;
  tone.LoopLength = 64;
  tone.Panning = 0;
  song.Instruments = {looped, instrument};
  for (int p = 0; p < 3; ++p) {
    TXmPattern pattern;
    pattern.Rows = Rows;
    pattern.Cells.resize(Rows * 2);
    for (int row = 0; row < Rows; row += 2)
      for (int channel = 0; channel < 2; ++channel) {
        TXmCell& cell = pattern.Cells[row * 2 + channel];
        cell.Note = static_cast<std::uint8_t>(40 + 3 * p + row / 2 + 5 * channel);
        cell.Instrument = static_cast<std::uint8_t>(channel + 1);
        cell.Effect = row % 4 ? 4 : 10;  // vibrato, volume slide
        cell.EffectParameter = row % 4 ? 0x46 : 0x02;
      }
    song.Patterns.push_back(pattern);
  }
  return song;
}

void SetCell(TXmSong& song, int pattern, int row, int channel, std::uint8_t effect, std::uint8_t parameter) {
  TXmCell& cell = song.Patterns[static_cast<std::size_t>(pattern)].Cells[static_cast<std::size_t>(row * 2 + channel)];
  cell.Effect = effect;
  cell.EffectParameter = parameter;
}

std::shared_ptr<const TTarnXMSong> Load(const TXmSong& song) {
  const TXmWriteResult written = WriteXm(song);
  const TTarnXMLoad load = LoadModule(written.Bytes.data(), written.Bytes.size());
  EXPECT_TRUE(load) << load.Error;
  return load.Song;
}

std::vector<std::int16_t> RenderAll(TTarnXMRenderer& renderer, std::size_t frames) {
  std::vector<std::int16_t> out(2 * frames);
  out.resize(2 * renderer.Render(out.data(), frames));
  return out;
}

std::vector<float> RenderFloat(TTarnXMRenderer& renderer, std::size_t frames) {
  std::vector<float> out(2 * frames);
  out.resize(2 * renderer.Render(out.data(), frames));
  return out;
}

std::vector<std::int16_t> Span(const std::vector<std::int16_t>& all, std::size_t frame, std::size_t frames) {
  return {all.begin() + static_cast<std::ptrdiff_t>(2 * frame),
          all.begin() + static_cast<std::ptrdiff_t>(2 * (frame + frames))};
}

class RendererTest : public ::testing::Test {
 protected:
  // Orders 0, 1, 2 played through once: 48 rows of 6 ticks.
  std::shared_ptr<const TTarnXMSong> Song = Load(TwoVoiceSong({0, 1, 2}));
  static constexpr std::size_t SongFrames = 48 * 6 * 882;
};

TEST_F(RendererTest, SeekingLandsOnTheSamplesAnUninterruptedRenderPlaysThere) {
  TTarnXMRenderOptions options;
  options.Loops = 1;
  TTarnXMRenderer whole(Song, options);
  const std::vector<std::int16_t> all = RenderAll(whole, 3 * SongFrames);
  ASSERT_EQ(all.size(), 2 * 2 * SongFrames);

  TTarnXMRenderer seeking(Song, options);
  constexpr std::size_t Heard = 4000;
  // Forwards, backwards, into a tick, onto a row and into the second time
  // round.
  for (const std::size_t frame : {std::size_t{22050}, std::size_t{1234}, std::size_t{5292 * 7},
                                  std::size_t{5292 * 7 + 17}, SongFrames + 999, std::size_t{0}}) {
    SCOPED_TRACE(frame);
    EXPECT_DOUBLE_EQ(seeking.SeekTime(static_cast<double>(frame) / Rate), static_cast<double>(frame) / Rate);
    EXPECT_EQ(seeking.Info().Frame, static_cast<std::int64_t>(frame));
    EXPECT_EQ(RenderAll(seeking, Heard), Span(all, frame, Heard));
  }

  // Row 5 of order 1 starts (48 + 5) x 6 ticks after the start... of order 1,
  // which begins after the 16 rows of order 0.
  std::string reason;
  ASSERT_TRUE(seeking.SeekOrder(1, 5, &reason)) << reason;
  const std::size_t rowStart = (16 + 5) * 6 * 882;
  EXPECT_EQ(seeking.Info().Frame, static_cast<std::int64_t>(rowStart));
  EXPECT_EQ(RenderAll(seeking, Heard), Span(all, rowStart, Heard));
  EXPECT_EQ(seeking.Info().Order, 1);
  EXPECT_EQ(seeking.Info().Row, 5);
}

TEST_F(RendererTest, OutputDoesNotDependOnHowTheCallerSplitsIt) {
  TTarnXMRenderer whole(Song);
  const std::vector<std::int16_t> all = RenderAll(whole, SongFrames);
  for (const std::size_t buffer : {std::size_t{1}, std::size_t{777}, std::size_t{5000}}) {
    TTarnXMRenderer pieces(Song);
    std::vector<std::int16_t> joined;
    for (std::vector<std::int16_t> piece; !(piece = RenderAll(pieces, buffer)).empty();)
      joined.insert(joined.end(), piece.begin(), piece.end());
    EXPECT_EQ(joined, all) << buffer;
  }
}

TEST_F(RendererTest, SeeksOutsideTheSongLandAtItsEdgesOrAreRefused) {
  TTarnXMRenderer renderer(Song);
  EXPECT_EQ(renderer.SeekTime(-3), 0);
  EXPECT_FALSE(renderer.Ended());
  EXPECT_DOUBLE_EQ(renderer.SeekTime(1e9), static_cast<double>(SongFrames) / Rate);
  EXPECT_TRUE(renderer.Ended());
  EXPECT_EQ(renderer.SeekTime(std::nan("")), 0);
  EXPECT_FALSE(renderer.Ended());

  std::string reason;
  for (const auto& [order, row] : {std::pair{3, 0}, std::pair{-1, 0}, std::pair{0, Rows}, std::pair{2, -1}}) {
    EXPECT_FALSE(renderer.SeekOrder(order, row, &reason)) << order << ":" << row;
    EXPECT_NE(reason.find("does not exist"), std::string::npos) << reason;
  }
  std::int16_t buffer[8];
  EXPECT_EQ(renderer.Render(static_cast<std::int16_t*>(nullptr), 100), 0u);
  EXPECT_EQ(renderer.Render(buffer, 0), 0u);
}

TEST_F(RendererTest, LoopCountAndEndActions) {
  struct TCase {
    std::int32_t Loops;
    TTarnXMEndAction Action;
    std::size_t Frames;  // rendered before the end; 0: no end
  };
  const std::size_t fade = Rate / 2;
  for (const TCase& c : {TCase{0, TTarnXMEndAction::Stop, SongFrames}, TCase{2, TTarnXMEndAction::Stop, 3 * SongFrames},
                         TCase{0, TTarnXMEndAction::FadeOut, SongFrames + fade}, TCase{-1, TTarnXMEndAction::Stop, 0},
                         TCase{0, TTarnXMEndAction::Loop, 0}}) {
    SCOPED_TRACE(c.Loops);
    TTarnXMRenderOptions options;
    options.Loops = c.Loops;
    options.EndAction = c.Action;
    options.FadeSeconds = 0.5;
    TTarnXMRenderer renderer(Song, options);
    const std::vector<std::int16_t> out = RenderAll(renderer, 4 * SongFrames);
    if (c.Frames == 0) {
      EXPECT_EQ(out.size(), 2 * 4 * SongFrames);
      EXPECT_FALSE(renderer.Ended());
      EXPECT_EQ(renderer.Info().LoopCount, 3);
    } else {
      EXPECT_EQ(out.size(), 2 * c.Frames);
      EXPECT_TRUE(renderer.Ended());
    }
    if (c.Action == TTarnXMEndAction::FadeOut) {
      const auto loudest = [&](std::size_t from, std::size_t to) {
        int peak = 0;
        for (std::size_t k = 2 * from; k < 2 * to; ++k) peak = std::max(peak, std::abs(int{out[k]}));
        return peak;
      };
      const int before = loudest(SongFrames - 2000, SongFrames);
      EXPECT_GT(loudest(SongFrames, SongFrames + 2000), before * 9 / 10);
      EXPECT_LT(loudest(SongFrames + fade - 200, SongFrames + fade), before / 50);
    }
  }
}

TEST_F(RendererTest, PatternLoopsThatReArmEachOtherStillEndTheSong) {
  // Row 2's loop sends playback back to row 0, where row 1's loop ends
  // and hands on to row 2 again: for ever. Once through is up to the first
  // loop taken a second time from the same state: rows 0 1 0 1 2 0 1 2.
  TXmSong written = TwoVoiceSong({0});
  SetCell(written, 0, 0, 0, 14, 0x60);
  SetCell(written, 0, 1, 0, 14, 0x61);
  SetCell(written, 0, 2, 0, 14, 0x61);
  TTarnXMRenderer renderer(Load(written));
  EXPECT_EQ(RenderAll(renderer, 100 * SongFrames).size(), 2 * 8 * 6 * 882);
  EXPECT_TRUE(renderer.Ended());
  EXPECT_TRUE(renderer.Subsongs()[0].Ends);
}

TEST_F(RendererTest, ARewindStartsAgainFromTheSongsOwnState) {
  // The song sets the global volume to 10 on its last row and jumps back.
  TXmSong written = TwoVoiceSong({0, 1, 2});
  SetCell(written, 2, Rows - 1, 0, 16, 10);
  TTarnXMRenderer renderer(Load(written));
  const std::vector<std::int16_t> first = RenderAll(renderer, SongFrames);
  renderer.Rewind();
  EXPECT_EQ(renderer.Info().GlobalVolume, 64);
  EXPECT_EQ(RenderAll(renderer, SongFrames), first);
}

TEST_F(RendererTest, SubsongsAreTheEntryPointsOrderZeroNeverReaches) {
  // Order 0 loops on itself; orders 1 and 2 loop on each other.
  TXmSong written = TwoVoiceSong({0, 1, 2});
  SetCell(written, 0, Rows - 1, 1, 11, 0);
  SetCell(written, 2, Rows - 1, 1, 11, 1);
  TTarnXMRenderer renderer(Load(written));
  const std::vector<TTarnXMSubsong>& subsongs = renderer.Subsongs();
  ASSERT_EQ(subsongs.size(), 2u);
  const double rowSeconds = 6.0 * 882 / Rate;
  EXPECT_EQ(subsongs[0].FirstOrder, 0);
  EXPECT_NEAR(subsongs[0].Seconds, Rows * rowSeconds, 1e-9);
  EXPECT_EQ(subsongs[1].FirstOrder, 1);
  EXPECT_NEAR(subsongs[1].Seconds, 2 * Rows * rowSeconds, 1e-9);
  EXPECT_TRUE(subsongs[1].Ends);

  ASSERT_TRUE(renderer.SelectSubsong(1));
  EXPECT_EQ(renderer.CurrentSubsong(), 1);
  EXPECT_EQ(RenderAll(renderer, SongFrames).size(), 2 * 2 * Rows * 6 * 882);
  renderer.SeekTime(0.1);
  EXPECT_EQ(renderer.Info().Order, 1);
  std::string reason;
  EXPECT_FALSE(renderer.SelectSubsong(2, &reason));
  EXPECT_EQ(reason, "subsong 2 does not exist (the song has 2)");
  EXPECT_EQ(renderer.CurrentSubsong(), 1);
}

TEST_F(RendererTest, MutingSoloSeparationAndGainShapeTheMix) {
  const auto render = [&](auto&& setUp) {
    TTarnXMRenderer renderer(Song);
    setUp(renderer);
    return RenderFloat(renderer, 40000);
  };
  const std::vector<float> both = render([](TTarnXMRenderer&) {});
  const std::vector<float> left = render([](TTarnXMRenderer& r) { r.Solo(0); });
  const std::vector<float> right = render([](TTarnXMRenderer& r) { r.SetMuted(0, true); });
  const std::vector<float> none = render([](TTarnXMRenderer& r) {
    r.SetMuted(0, true);
    r.SetMuted(1, true);
  });
  ASSERT_EQ(both.size(), 80000u);
  float leftLoudness = 0;
  for (std::size_t k = 0; k < both.size(); ++k) {
    // The voices only add; click removal is shared, so allow its rounding.
    EXPECT_NEAR(both[k], left[k] + right[k], 1e-4f) << k;
    EXPECT_EQ(none[k], 0.0f) << k;
    leftLoudness += std::abs(left[k]);
  }
  EXPECT_GT(leftLoudness, 1000.0f);

  const std::vector<float> centred = render([](TTarnXMRenderer& r) { r.SetStereoSeparation(0); });
  const std::vector<float> louder = render([](TTarnXMRenderer& r) { r.SetGain(20 * std::log10(2.0)); });
  bool differs = false;
  for (std::size_t k = 0; k < both.size(); k += 2) {
    EXPECT_EQ(centred[k], centred[k + 1]) << k;
    EXPECT_NEAR(centred[k], (both[k] + both[k + 1]) / 2, 1e-6f) << k;
    differs = differs || both[k] != both[k + 1];
    EXPECT_NEAR(louder[k], 2 * both[k], 1e-6f) << k;
  }
  EXPECT_TRUE(differs);
}

TEST_F(RendererTest, FrameInfoFollowsThePlayback) {
  TTarnXMRenderer renderer(Song);
  RenderAll(renderer, 5292 * 17 + 100);
  const TTarnXMFrameInfo info = renderer.Info();
  EXPECT_EQ(info.Order, 1);
  EXPECT_EQ(info.Row, 1);
  EXPECT_EQ(info.Speed, 6);
  EXPECT_EQ(info.Tempo, 125);
  ASSERT_EQ(info.Channels.size(), 2u);
  EXPECT_EQ(info.ChannelsSounding, 2);
  EXPECT_EQ(info.Channels[0].Instrument, 1);
  EXPECT_EQ(info.Channels[1].Instrument, 2);
  EXPECT_EQ(info.Channels[0].Note, 40 + 3);
  EXPECT_EQ(info.Channels[1].Panning, 255);
  EXPECT_GT(info.Channels[0].Level, 0.0f);
}

}  // namespace
