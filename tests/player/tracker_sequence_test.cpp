// Rows, jumps, loops, delays, patterns and loop seams as the trackers play
// them: FastTracker 2 for XM and multi-channel MODs, ProTracker for
// four-channel MODs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "player/engine.h"
#include "tests/player/test_song.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

using E = TTarnXMEffect;
using X = TTarnXMExtendedEffect;

// Speed 1, so that every tick starts a row; an extra last channel marks
// the rows.
class Sequence {
 public:
  Sequence(int channels, int patterns, int rows = 64) : Song(channels + 1, rows, patterns) {
    Song.Data().InitialSpeed = 1;
    MarkRows(Song, patterns);
  }

  std::vector<TRowStart> Starts(int count) {
    Song.Start();
    std::vector<TRowStart> starts;
    for (int k = 0; k < count; ++k) {
      Song.Tick();
      starts.push_back(Started(Song));
    }
    return starts;
  }

  // How often row of pattern 0 started before row until did.
  int PlaysBefore(int row, int until) {
    int plays = 0;
    for (const TRowStart& start : Starts(1000)) {
      if (start == TRowStart{0, until}) return plays;
      plays += start == TRowStart{0, row};
    }
    return -1;
  }

  TTestSong Song;
};

TEST(TrackerSequence, BreaksAndJumpsGoWhereTheTrackersGo) {
  struct TCase {
    const char* Name;
    std::vector<std::pair<int, TTarnXMPatternNote>> Cells;  // by channel, on pattern 0's row 2
    TRowStart Target;
    int NextRows = 64;
  };
  const TCase cases[] = {
      {"D32 is row 32, not 50", {{0, Effect(E::PatternBreak, 0x32)}}, {1, 32}},
      {"D1A is row 20", {{0, Effect(E::PatternBreak, 0x1A)}}, {1, 20}},
      {"D63 is the last row", {{0, Effect(E::PatternBreak, 0x63)}}, {1, 63}},
      {"D64 is past the last row: row 0", {{0, Effect(E::PatternBreak, 0x64)}}, {1, 0}},
      {"D20 into 16 rows: row 0, no pattern skipped", {{0, Effect(E::PatternBreak, 0x20)}}, {1, 0}, 16},
      {"B then D: B's order, D's row", {{0, Effect(E::PositionJump, 2)}, {1, Effect(E::PatternBreak, 0x05)}}, {2, 5}},
      {"D then B: B clears D's row", {{0, Effect(E::PatternBreak, 0x05)}, {1, Effect(E::PositionJump, 2)}}, {2, 0}},
      {"loop then D: the break leaves the pattern",
       {{0, Extended(X::PatternLoop, 2)}, {1, Effect(E::PatternBreak, 0x05)}},
       {1, 5}},
      {"D then loop: the break leaves the pattern",
       {{0, Effect(E::PatternBreak, 0x05)}, {1, Extended(X::PatternLoop, 2)}},
       {1, 5}},
      {"loop then B: the jump leaves the pattern",
       {{0, Extended(X::PatternLoop, 2)}, {1, Effect(E::PositionJump, 2)}},
       {2, 0}},
  };
  for (const TCase& test : cases) {
    Sequence sequence(2, 3);
    sequence.Song.Data().Patterns[1].SetSize(test.NextRows, 3);
    for (const auto& [channel, cell] : test.Cells) sequence.Song.Cell(0, 2, channel, cell);
    EXPECT_EQ(sequence.Starts(4), (std::vector<TRowStart>{{0, 0}, {0, 1}, {0, 2}, test.Target})) << test.Name;
  }
}

TEST(TrackerSequence, ALoopLeftByABreakKeepsItsCount) {
  // The loop's count of 2 survives the break, so the next E62 in the
  // channel takes one off and jumps once, not twice.
  Sequence sequence(2, 2, 16);
  sequence.Song.Cell(0, 2, 0, Extended(X::PatternLoop, 2));
  sequence.Song.Cell(0, 2, 1, Effect(E::PatternBreak, 0x05));
  sequence.Song.Cell(1, 7, 0, Extended(X::PatternLoop, 2));
  std::vector<TRowStart> expected{{0, 0}, {0, 1}, {0, 2}, {1, 5}, {1, 6}, {1, 7}};
  for (int row = 0; row <= 8; ++row) expected.push_back({1, row});
  EXPECT_EQ(sequence.Starts(static_cast<int>(expected.size())), expected);
}

TEST(TrackerSequence, PatternLoopsPlayTheirRowsYPlusOneTimes) {
  struct TCase {
    std::vector<int> Counts;  // one loop per channel, all over rows 1 to 3
    int Plays;
  };
  // Loops in two channels over the same rows nest: their counts multiply.
  const TCase cases[] = {{{1}, 2}, {{2}, 3}, {{3}, 4}, {{15}, 16}, {{3, 2}, 12}};
  for (const TCase& test : cases) {
    Sequence sequence(static_cast<int>(test.Counts.size()), 1, 8);
    for (int channel = 0; channel < static_cast<int>(test.Counts.size()); ++channel) {
      sequence.Song.Cell(0, 1, channel, Extended(X::PatternLoop, 0));
      sequence.Song.Cell(0, 3, channel, Extended(X::PatternLoop, test.Counts[channel]));
    }
    EXPECT_EQ(sequence.PlaysBefore(2, 4), test.Plays) << test.Counts.size() << " loops, first E6" << test.Counts[0];
  }
}

// Channel 0's cell beside a pattern delay EE2 in channel 1, at speed 6, in
// a song of that origin: the field on each of the row's 18 ticks.
std::vector<std::int32_t> DelayedRow(const TOrigin& origin, TTarnXMPatternNote cell, const TField& field) {
  TTestSong song(2, 4);
  song.Instrument(1);
  song.SampleOf(1).Volume = 16;
  song.From(origin);
  cell.Note = 49;
  cell.Instrument = 1;
  song.Cell(0, 0, 0, cell);
  song.Cell(0, 0, 1, Extended(X::PatternDelay, 2));
  song.Start();
  return song.TraceStarts(18, field);
}

TEST(TrackerSequence, APatternDelayRepeatsTheFineSlidesInProTrackerOnly) {
  const TField slid = [](TTestSong& song) { return song.Channel().PortaTarget - song.Channel().Period; };
  struct TCase {
    TOrigin Origin;
    int Repetitions;
  };
  const TCase cases[] = {{XM, 1}, {MOD("M.K."), 3}, {MOD("8CHN"), 1}};
  for (const auto& [origin, repetitions] : cases) {
    const auto fineVolume = DelayedRow(origin, Extended(X::FineVolumeSlideUp, 4), Volume);
    EXPECT_EQ(fineVolume[0], 20) << origin;
    EXPECT_EQ(fineVolume[17], 16 + 4 * repetitions) << origin;
    // The fine portamento's pitch change, counted in steps of its first.
    const auto finePitch = DelayedRow(origin, Extended(X::FinePortamentoUp, 2), slid);
    EXPECT_EQ(finePitch[17], repetitions * finePitch[0]) << origin;
    // Slides move on all 17 ticks after the first, a repetition's first too.
    const auto slide = DelayedRow(origin, Effect(E::VolumeSlide, 0x10), Volume);
    EXPECT_EQ(slide[17], 16 + 17) << origin;
    const auto pitch = DelayedRow(origin, Effect(E::PortamentoDown, 2), slid);
    EXPECT_EQ(pitch[17], -17 * 4 * 2) << origin;
    // A note delay fires on every repetition in both, moving the sample off
    // the frame TraceStarts leaves it on.
    const auto delayed = DelayedRow(origin, Extended(X::NoteDelay, 3), Frames);
    std::vector<int> ticks;
    for (int tick = 0; tick < 18; ++tick)
      if (delayed[tick] != 99) ticks.push_back(tick);
    EXPECT_EQ(ticks, (std::vector<int>{3, 9, 15})) << origin;
  }
}

TEST(TrackerSequence, AnXMOrderNamingAPatternTheFileLeavesOutPlays64EmptyRows) {
  // Pattern 0 (4 rows) is stored; the orders also name patterns past the
  // stored ones, which the tracker does not save when they are empty.
  const auto ticksToEnd = [](const TXMWriter& writer) {
    const TBytes bytes = writer.Build();
    TTarnXMEngine engine;
    EXPECT_TRUE(engine.Module.LoadFromMemory(bytes.data(), bytes.size()));
    engine.Rewind();
    for (int ticks = 0; ticks < 100000; ++ticks) {
      engine.DoTick();
      if (engine.Module.State.SongEnded) return ticks;
    }
    return -1;
  };
  TXMWriter missing;
  missing.Channels = 1;
  missing.Patterns = {XMPattern(4, EmptyXMCells(4))};
  missing.SongLength = 3;
  missing.Orders[1] = 1;
  missing.Orders[2] = 9;
  TXMWriter stored = missing;
  stored.Orders[2] = 1;
  stored.Patterns.push_back(XMPattern(64, EmptyXMCells(64)));
  EXPECT_EQ(ticksToEnd(missing), (4 + 64 + 64) * 6);
  EXPECT_EQ(ticksToEnd(missing), ticksToEnd(stored));
}

// One note of instrument 1 from the song's start, rendered at 44100 Hz mono.
std::vector<std::int64_t> RenderNote(const std::vector<std::int32_t>& frames, bool loop, std::uint8_t interpolation,
                                     std::int32_t count) {
  auto song = std::make_shared<TTarnXMSong>();
  song->NumChannels = 1;
  song->SongLength = 1;
  song->Patterns[0].SetSize(64, 1);
  song->Patterns[0].SetNote(0, 0, Note(61, 1));
  TTarnXMSample& sample = song->NewInstrument(1).NewSample(0);
  sample.UsePanning = false;
  sample.Length = static_cast<std::int32_t>(frames.size());
  EXPECT_TRUE(sample.AllocateData(frames.size()));
  std::copy(frames.begin(), frames.end(), sample.Data);
  sample.Loop = loop;
  sample.LoopLength = sample.Length;
  sample.PrepareForInterpolation();
  TTarnXMEngine engine(TTarnXMRenderSettings::For(44100, false));
  engine.Settings.Interpolation = interpolation;
  engine.Module.SetSong(song);
  engine.Rewind();
  std::vector<std::int64_t> out(static_cast<std::size_t>(count));
  EXPECT_EQ(engine.Render(out.data(), count), count);
  return out;
}

TEST(TrackerSequence, ALoopedSingleCycleSineRendersAsTheUnbrokenWave) {
  // The same sine as one looped 32-frame cycle and as 160 cycles written
  // out: once past the note's first frames they must sound alike.
  constexpr int Cycle = 32;
  constexpr int Frames = 8192;
  const auto sine = [](int cycles) {
    std::vector<std::int32_t> frames(static_cast<std::size_t>(Cycle * cycles));
    for (std::size_t k = 0; k < frames.size(); ++k) {
      const double phase = 2 * std::numbers::pi * static_cast<double>(k) / Cycle;
      frames[k] = static_cast<std::int32_t>(std::lround(16000 * std::sin(phase)));
    }
    return frames;
  };
  for (const std::uint8_t interpolation :
       {TTarnXMRenderSettings::LinearInterpolation, TTarnXMRenderSettings::CubicInterpolation,
        TTarnXMRenderSettings::SincInterpolation}) {
    const std::vector<std::int64_t> looped = RenderNote(sine(1), true, interpolation, Frames);
    const std::vector<std::int64_t> written = RenderNote(sine(160), false, interpolation, Frames);
    double signal = 0, residual = 0;
    for (int k = 64; k < Frames; ++k) {
      signal += static_cast<double>(written[k]) * static_cast<double>(written[k]);
      residual += static_cast<double>(looped[k] - written[k]) * static_cast<double>(looped[k] - written[k]);
    }
    ASSERT_GT(signal, 0);
    EXPECT_LT(10 * std::log10(residual / signal + 1e-30), -60) << "interpolation " << int{interpolation};
  }
}

}  // namespace
