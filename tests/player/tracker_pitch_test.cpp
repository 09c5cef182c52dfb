// Pitch commands as the trackers play them: arpeggio, vibrato and its
// waveforms and memories, tone portamento from the volume column, glissando,
// auto-vibrato and the Amiga period scale, read after every tick of small
// songs. XM and multi-channel MOD songs follow one tracker's rules,
// four-channel MODs the other's.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "player/effect_steps.h"
#include "tests/player/test_song.h"

namespace {

using E = TTarnXMEffect;
using X = TTarnXMExtendedEffect;

// One channel; instrument 1 plays note 49 (C-4) at period 4608 linear, 1712
// Amiga.
class TrackerPitch : public ::testing::Test {
 protected:
  TrackerPitch() : Song(1, 64) { Song.Instrument(1); }

  // Writes the rows at that speed and plays ticks ticks from the start,
  // reading field after each.
  std::vector<std::int32_t> Play(const std::vector<TTarnXMPatternNote>& rows, int speed, int ticks,
                                 const TField& field) {
    for (int row = 0; row < 64; ++row)
      Song.Cell(0, row, 0, row < static_cast<int>(rows.size()) ? rows[row] : TTarnXMPatternNote{});
    Song.Data().InitialSpeed = static_cast<std::uint8_t>(speed);
    Song.Start();
    return Song.Trace(ticks, field);
  }

  // The periods of notes 48 + semitones, for expectations written in notes.
  std::vector<std::int32_t> Periods(const std::vector<int>& semitones) {
    std::vector<std::int32_t> periods;
    for (const int s : semitones) periods.push_back(Song.Data().PeriodFromNote(48 + s, Song.Channel().FineTune));
    return periods;
  }

  TTestSong Song;
};

TEST_F(TrackerPitch, ArpeggioPlaysItsThreePitchesInEachTrackersOrder) {
  struct TCase {
    TOrigin Origin;
    int Speed;
    std::vector<int> Semitones;  // on ticks 0 .. speed - 1 of 037
  };
  const TCase cases[] = {
      {MOD("M.K."), 6, {0, 3, 7, 0, 3, 7}},
      {MOD("M.K."), 4, {0, 3, 7, 0}},
      {XM, 3, {0, 7, 3}},
      {XM, 4, {0, 0, 7, 3}},
      {XM, 5, {0, 3, 0, 7, 3}},
      {XM, 6, {0, 7, 3, 0, 7, 3}},
      {AmigaXM, 6, {0, 7, 3, 0, 7, 3}},
      {MOD("6CHN"), 6, {0, 7, 3, 0, 7, 3}},
      {XM, 8, {0, 3, 0, 7, 3, 0, 7, 3}},
      // Counted down from 18, ticks 1 and 2 fall past the 16-step table.
      {XM, 18, {0, 7, 0, 0, 7, 3, 0, 7, 3, 0, 7, 3, 0, 7, 3, 0, 7, 3}},
  };
  for (const TCase& c : cases) {
    Song.From(c.Origin);
    const int ticks = static_cast<int>(c.Semitones.size());
    EXPECT_EQ(Play({Note(49, 1, 0, E::Arpeggio, 0x37)}, c.Speed, ticks, Heard), Periods(c.Semitones))
        << c.Origin << " speed " << c.Speed;
  }
}

TEST_F(TrackerPitch, VibratoStepsOnTheOtherTicksAndStartsDownwards) {
  struct TCase {
    TOrigin Origin;
    int Speed;
    std::vector<std::int32_t> Deltas;  // two rows: 44F on a note, then 400
  };
  const TCase cases[] = {
      // The first tick holds the offset reached.
      {XM, 6, {0, 0, 45, 84, 110, 119, 110, 110, 84, 45, 0, -45}},
      {MOD("6CHN"), 6, {0, 0, 45, 84, 110, 119, 110, 110, 84, 45, 0, -45}},
      {XM, 3, {0, 0, 45, 84, 84, 110}},
      // In whole Amiga periods, and the first tick plays the note itself.
      {MOD("M.K."), 6, {0, 0, 44, 84, 108, 116, 0, 108, 84, 44, 0, -44}},
  };
  for (const TCase& c : cases) {
    Song.From(c.Origin);
    const int ticks = static_cast<int>(c.Deltas.size());
    const std::vector<TTarnXMPatternNote> rows{Note(49, 1, 0, E::Vibrato, 0x4F), Effect(E::Vibrato, 0)};
    EXPECT_EQ(Play(rows, c.Speed, ticks, PeriodDelta), c.Deltas) << c.Origin << " speed " << c.Speed;
    // An instrument number without a note leaves the vibrato's phase alone.
    const std::vector<TTarnXMPatternNote> relit{rows[0], Note(0, 1, 0, E::Vibrato, 0)};
    EXPECT_EQ(Play(relit, c.Speed, ticks, PeriodDelta), c.Deltas) << c.Origin << " speed " << c.Speed;
    EXPECT_LT(Play(rows, c.Speed, 3, Frequency).back(), 8363) << c.Origin;
  }
}

TEST_F(TrackerPitch, VibratoWaveformsSwingAboutTheNote) {
  struct TCase {
    int Waveform;
    std::vector<std::int32_t> Deltas;  // at positions 0, 8, ... 56, depth 15
  };
  const TCase cases[] = {
      {0, {0, 84, 119, 84, 0, -84, -119, -84}},
      {1, {0, 30, 60, 90, -119, -89, -59, -29}},
      {2, {119, 119, 119, 119, -119, -119, -119, -119}},
      {3, {119, 119, 119, 119, -119, -119, -119, -119}},
  };
  Song.From(XM);
  for (const TCase& c : cases) {
    std::vector<std::int32_t> deltas =
        Play({Extended(X::VibratoWaveform, c.Waveform, 49), Effect(E::Vibrato, 0x8F)}, 9, 18, PeriodDelta);
    deltas.erase(deltas.begin(), deltas.begin() + 10);
    EXPECT_EQ(deltas, c.Deltas) << c.Waveform;

    // Over a whole cycle each shape, the tremolo's too, averages out within
    // a step of its table.
    std::int32_t sum = 0;
    for (std::int32_t position = 0; position < 64; ++position) sum += WaveformValue(c.Waveform, position);
    EXPECT_LE(std::abs(sum), 8 * 64) << c.Waveform;
  }
}

TEST_F(TrackerPitch, EachVibratoAndTremoloNibbleKeepsItsOwnMemory) {
  struct TCase {
    TTarnXMPatternNote Second;
    int Speed;
    int Depth;
  };
  const TCase vibratos[] = {
      {Effect(E::Vibrato, 0x80), 8, 8},
      {Effect(E::Vibrato, 0x0F), 4, 15},
      {Effect(E::Vibrato, 0x00), 4, 8},
      {Effect(E::VibratoVolumeSlide, 0x01), 4, 8},
      // The volume column's V0 keeps the depth, Sx sets the speed alone.
      {Note(0, 0, 0xB0), 4, 8},
      {Effect(E::Vibrato, 0, 0xA9), 9, 8},
  };
  Song.From(XM);
  for (const TCase& c : vibratos) {
    const std::vector<std::int32_t> deltas = Play({Note(49, 1, 0, E::Vibrato, 0x48), c.Second}, 6, 12, PeriodDelta);
    EXPECT_EQ(Song.Channel().VibratoSpeed, c.Speed) << c.Second.VolumeColumn << " " << c.Second.EffectParameter;
    EXPECT_EQ(Song.Channel().VibratoDepth, c.Depth) << c.Second.VolumeColumn << " " << c.Second.EffectParameter;
    // The second row goes on vibrating.
    EXPECT_NE(deltas[8], deltas[10]) << c.Second.VolumeColumn << " " << c.Second.EffectParameter;
  }
  const TCase tremolos[] = {{Effect(E::Tremolo, 0x80), 8, 8}, {Effect(E::Tremolo, 0x0F), 4, 15}};
  for (const TCase& c : tremolos) {
    Play({Note(49, 1, 0, E::Tremolo, 0x48), c.Second}, 6, 12, Period);
    EXPECT_EQ(Song.Channel().TremoloSpeed, c.Speed) << c.Second.EffectParameter;
    EXPECT_EQ(Song.Channel().TremoloDepth, c.Depth) << c.Second.EffectParameter;
  }
}

TEST_F(TrackerPitch, VolumeColumnTonePortamentoMatchesTheEffectSixteenTimesItsDigit) {
  struct TCase {
    std::vector<TTarnXMPatternNote> Written;
    std::vector<TTarnXMPatternNote> Same;
  };
  const TTarnXMPatternNote start = Note(49, 1);
  const TCase cases[] = {
      {{start, Note(37, 1, 0xF1)}, {start, Note(37, 1, 0, E::TonePortamento, 0x10)}},
      {{start, Note(37, 1, 0xFF)}, {start, Note(37, 1, 0, E::TonePortamento, 0xF0)}},
      // M0 goes on with the speed the effect left.
      {{start, Note(37, 1, 0, E::TonePortamento, 0x20), Note(0, 0, 0xF0)},
       {start, Note(37, 1, 0, E::TonePortamento, 0x20), Effect(E::TonePortamento, 0)}},
      // Beside an Mx the effect's parameter is ignored and the step is taken
      // twice.
      {{start, Note(25, 1, 0xF2, E::TonePortamento, 0xFF)}, {start, Note(25, 1, 0xF4)}},
  };
  Song.From(XM);
  for (const TCase& c : cases) {
    const std::vector<std::int32_t> written = Play(c.Written, 6, 18, Period);
    EXPECT_EQ(written, Play(c.Same, 6, 18, Period)) << c.Written[1].VolumeColumn;
    EXPECT_GT(written.back(), 4608) << c.Written[1].VolumeColumn;
  }
}

TEST_F(TrackerPitch, GlissandoIsHeardInSemitoneSteps) {
  struct TCase {
    TOrigin Origin;
    int Rate;
    std::vector<int> Semitones;  // heard on ticks 1 to 5 of the slide's row
  };
  const TCase cases[] = {
      // To the nearest semitone of a smooth slide from C-4 up to E-4.
      {XM, 0x09, {1, 1, 2, 2, 3}},
      {AmigaXM, 0x09, {0, 1, 1, 2, 2}},
      // To the first table entry not above the slide's period.
      {MOD("M.K."), 0x10, {1, 2, 3, 3, 4}},
  };
  for (const TCase& c : cases) {
    Song.From(c.Origin);
    const std::vector<TTarnXMPatternNote> rows{Extended(X::Glissando, 1, 49),
                                               Note(53, 1, 0, E::TonePortamento, c.Rate)};
    const std::vector<std::int32_t> heard = Play(rows, 6, 12, Heard);
    EXPECT_EQ(std::vector<std::int32_t>(heard.begin() + 7, heard.end()), Periods(c.Semitones)) << c.Origin;
    // Underneath, the slide moves on every tick.
    const std::vector<std::int32_t> periods = Play(rows, 6, 12, Period);
    for (int k = 7; k < 12; ++k) EXPECT_LT(periods[k], periods[k - 1]) << c.Origin << " tick " << k;
  }
}

TEST_F(TrackerPitch, AutoVibratoStartsDownwards) {
  TTarnXMInstrument& instrument = *Song.Data().Instruments[1];
  instrument.VibratoDepth = 8;
  instrument.VibratoRate = 16;
  for (const TOrigin& origin : {XM, AmigaXM}) {
    Song.From(origin);
    const std::vector<std::int32_t> rates = Play({Note(49, 1)}, 6, 3, Frequency);
    EXPECT_EQ(rates[0], 8363) << origin;
    EXPECT_LT(rates[1], 8363) << origin;
    EXPECT_LT(rates[2], rates[1]) << origin;
  }
}

TEST_F(TrackerPitch, AmigaPeriodsMoveThePitchAsTheTrackersDo) {
  Song.From(AmigaXM);
  const TTarnXMSong& song = Song.Data();
  // C-4 is period 1712 (ProTracker's 428) at 8363 Hz, and one unit of 1xx,
  // four fine units, moves it as one ProTracker period moves 428.
  EXPECT_EQ(song.PeriodFromNote(48, 0), 4 * 428);
  EXPECT_EQ(song.PeriodFromNote(36, 0), 4 * 856);
  const std::vector<std::int32_t> rates = Play({Note(49, 1, 0, E::PortamentoUp, 1)}, 6, 2, Frequency);
  EXPECT_EQ(rates[0], 8363);
  EXPECT_EQ(rates[1], 8363 * 428 / 427);
}

TEST_F(TrackerPitch, ProTrackerHoldsSlidesWithinItsTable) {
  struct TCase {
    TOrigin Origin;
    int FineTune;
    TTarnXMPatternNote Slide;
    std::int32_t Period;  // after a row at speed 31
  };
  const TCase cases[] = {
      {MOD("M.K."), 0, Note(70, 1, 0, E::PortamentoUp, 0xFF), 4 * 113},
      {MOD("M.K."), 0, Note(38, 1, 0, E::PortamentoDown, 0xFF), 4 * 856},
      {MOD("M.K."), -128, Note(70, 1, 0, E::PortamentoUp, 0xFF), 4 * 120},
      {MOD("M.K."), -128, Note(38, 1, 0, E::PortamentoDown, 0xFF), 4 * 907},
      {MOD("M.K."), 112, Note(70, 1, 0, E::PortamentoUp, 0xFF), 4 * 108},
      {MOD("M.K."), 112, Note(38, 1, 0, E::PortamentoDown, 0xFF), 4 * 814},
      {MOD("M.K."), 0, Extended(X::FinePortamentoUp, 15, 72), 4 * 113},
      {MOD("M.K."), 0, Extended(X::FinePortamentoDown, 15, 37), 4 * 856},
      // The other trackers slide on past them: from B-3's 453, 30 steps of 4.
      {MOD("6CHN"), 0, Note(72, 1, 0, E::PortamentoUp, 0x01), 453 - 30 * 4},
      {AmigaXM, 0, Extended(X::FinePortamentoDown, 15, 37), 4 * 856 + 60},
  };
  for (const TCase& c : cases) {
    Song.From(c.Origin);
    Song.SampleOf(1).FineTune = c.FineTune;
    EXPECT_EQ(Play({c.Slide}, 31, 31, Period).back(), c.Period)
        << c.Origin << " " << c.FineTune << " " << c.Slide.Effect;
  }
}

}  // namespace
