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

using TEffect = TTarnXMEffect;
using TExtended = TTarnXMExtendedEffect;

enum class TOrigin { XM, AmigaXM, FourChannelMOD, SixChannelMOD };

TTarnXMPatternNote Cell(int note, int volume, TEffect effect, int parameter) {
  return {note, note != 0 ? 1 : 0, volume, static_cast<int>(effect), parameter};
}
TTarnXMPatternNote Extended(int note, TExtended command, int y) {
  return Cell(note, 0, TEffect::Extended, static_cast<int>(command) << 4 | y);
}

// One channel; instrument 1 plays note 49 (C-4) at period 4608 linear, 1712
// Amiga.
class TrackerPitch : public ::testing::Test {
 protected:
  TrackerPitch() : Song(1, 64) { Song.Instrument(1); }

  void From(TOrigin origin) {
    TTarnXMSong& data = Song.Data();
    const bool mod = origin == TOrigin::FourChannelMOD || origin == TOrigin::SixChannelMOD;
    data.Format = mod ? TTarnXMFormat::MOD : TTarnXMFormat::XM;
    data.Signature = origin == TOrigin::FourChannelMOD ? "M.K." : origin == TOrigin::SixChannelMOD ? "6CHN" : "";
    data.LinearFrequency = origin == TOrigin::XM;
  }

  // Writes the rows at that speed and plays ticks ticks from the start,
  // reading the channel after each.
  template <typename Field>
  std::vector<std::int32_t> Play(const std::vector<TTarnXMPatternNote>& rows, int speed, int ticks, Field field) {
    for (int row = 0; row < 64; ++row)
      Song.Cell(0, row, 0, row < static_cast<int>(rows.size()) ? rows[row] : TTarnXMPatternNote{});
    Song.Data().InitialSpeed = static_cast<std::uint8_t>(speed);
    Song.Start();
    std::vector<std::int32_t> values;
    for (int k = 0; k < ticks; ++k) {
      Song.Tick();
      values.push_back(field(Song.Channel()));
    }
    return values;
  }

  // The period heard: the channel's period with the vibrato's, arpeggio's or
  // glissando's offset.
  std::vector<std::int32_t> Heard(const std::vector<TTarnXMPatternNote>& rows, int speed, int ticks) {
    return Play(rows, speed, ticks, [](const TTarnXMChannel& channel) { return channel.Period + channel.PeriodDelta; });
  }
  std::vector<std::int32_t> Deltas(const std::vector<TTarnXMPatternNote>& rows, int speed, int ticks) {
    return Play(rows, speed, ticks, [](const TTarnXMChannel& channel) { return channel.PeriodDelta; });
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
      {TOrigin::FourChannelMOD, 6, {0, 3, 7, 0, 3, 7}},
      {TOrigin::FourChannelMOD, 4, {0, 3, 7, 0}},
      {TOrigin::XM, 3, {0, 7, 3}},
      {TOrigin::XM, 4, {0, 0, 7, 3}},
      {TOrigin::XM, 5, {0, 3, 0, 7, 3}},
      {TOrigin::XM, 6, {0, 7, 3, 0, 7, 3}},
      {TOrigin::AmigaXM, 6, {0, 7, 3, 0, 7, 3}},
      {TOrigin::SixChannelMOD, 6, {0, 7, 3, 0, 7, 3}},
      {TOrigin::XM, 8, {0, 3, 0, 7, 3, 0, 7, 3}},
      // Counted down from 18, ticks 1 and 2 fall past the 16-step table.
      {TOrigin::XM, 18, {0, 7, 0, 0, 7, 3, 0, 7, 3, 0, 7, 3, 0, 7, 3, 0, 7, 3}},
  };
  for (const TCase& c : cases) {
    From(c.Origin);
    const int ticks = static_cast<int>(c.Semitones.size());
    EXPECT_EQ(Heard({Cell(49, 0, TEffect::Arpeggio, 0x37)}, c.Speed, ticks), Periods(c.Semitones))
        << static_cast<int>(c.Origin) << " speed " << c.Speed;
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
      {TOrigin::XM, 6, {0, 0, 45, 84, 110, 119, 110, 110, 84, 45, 0, -45}},
      {TOrigin::SixChannelMOD, 6, {0, 0, 45, 84, 110, 119, 110, 110, 84, 45, 0, -45}},
      {TOrigin::XM, 3, {0, 0, 45, 84, 84, 110}},
      // In whole Amiga periods, and the first tick plays the note itself.
      {TOrigin::FourChannelMOD, 6, {0, 0, 44, 84, 108, 116, 0, 108, 84, 44, 0, -44}},
  };
  for (const TCase& c : cases) {
    From(c.Origin);
    const int ticks = static_cast<int>(c.Deltas.size());
    const std::vector<TTarnXMPatternNote> rows{Cell(49, 0, TEffect::Vibrato, 0x4F), Cell(0, 0, TEffect::Vibrato, 0)};
    EXPECT_EQ(Deltas(rows, c.Speed, ticks), c.Deltas) << static_cast<int>(c.Origin) << " speed " << c.Speed;
    // An instrument number without a note leaves the vibrato's phase alone.
    const std::vector<TTarnXMPatternNote> relit{rows[0], {0, 1, 0, static_cast<int>(TEffect::Vibrato), 0}};
    EXPECT_EQ(Deltas(relit, c.Speed, ticks), c.Deltas) << static_cast<int>(c.Origin) << " speed " << c.Speed;
    Play(rows, c.Speed, 3, [](const TTarnXMChannel&) { return 0; });
    EXPECT_LT(Song.Channel().Frequency, 8363) << static_cast<int>(c.Origin);
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
  From(TOrigin::XM);
  for (const TCase& c : cases) {
    std::vector<std::int32_t> deltas =
        Deltas({Extended(49, TExtended::VibratoWaveform, c.Waveform), Cell(0, 0, TEffect::Vibrato, 0x8F)}, 9, 18);
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
      {Cell(0, 0, TEffect::Vibrato, 0x80), 8, 8},
      {Cell(0, 0, TEffect::Vibrato, 0x0F), 4, 15},
      {Cell(0, 0, TEffect::Vibrato, 0x00), 4, 8},
      {Cell(0, 0, TEffect::VibratoVolumeSlide, 0x01), 4, 8},
      // The volume column's V0 keeps the depth, Sx sets the speed alone.
      {Cell(0, 0xB0, TEffect::Arpeggio, 0), 4, 8},
      {Cell(0, 0xA9, TEffect::Vibrato, 0), 9, 8},
  };
  From(TOrigin::XM);
  for (const TCase& c : vibratos) {
    const std::vector<std::int32_t> deltas = Deltas({Cell(49, 0, TEffect::Vibrato, 0x48), c.Second}, 6, 12);
    EXPECT_EQ(Song.Channel().VibratoSpeed, c.Speed) << c.Second.VolumeColumn << " " << c.Second.EffectParameter;
    EXPECT_EQ(Song.Channel().VibratoDepth, c.Depth) << c.Second.VolumeColumn << " " << c.Second.EffectParameter;
    // The second row goes on vibrating.
    EXPECT_NE(deltas[8], deltas[10]) << c.Second.VolumeColumn << " " << c.Second.EffectParameter;
  }
  const TCase tremolos[] = {{Cell(0, 0, TEffect::Tremolo, 0x80), 8, 8}, {Cell(0, 0, TEffect::Tremolo, 0x0F), 4, 15}};
  for (const TCase& c : tremolos) {
    Play({Cell(49, 0, TEffect::Tremolo, 0x48), c.Second}, 6, 12, [](const TTarnXMChannel&) { return 0; });
    EXPECT_EQ(Song.Channel().TremoloSpeed, c.Speed) << c.Second.EffectParameter;
    EXPECT_EQ(Song.Channel().TremoloDepth, c.Depth) << c.Second.EffectParameter;
  }
}

TEST_F(TrackerPitch, VolumeColumnTonePortamentoMatchesTheEffectSixteenTimesItsDigit) {
  struct TCase {
    std::vector<TTarnXMPatternNote> Written;
    std::vector<TTarnXMPatternNote> Same;
  };
  const TTarnXMPatternNote start = Cell(49, 0, TEffect::Arpeggio, 0);
  const TCase cases[] = {
      {{start, Cell(37, 0xF1, TEffect::Arpeggio, 0)}, {start, Cell(37, 0, TEffect::TonePortamento, 0x10)}},
      {{start, Cell(37, 0xFF, TEffect::Arpeggio, 0)}, {start, Cell(37, 0, TEffect::TonePortamento, 0xF0)}},
      // M0 goes on with the speed the effect left.
      {{start, Cell(37, 0, TEffect::TonePortamento, 0x20), Cell(0, 0xF0, TEffect::Arpeggio, 0)},
       {start, Cell(37, 0, TEffect::TonePortamento, 0x20), Cell(0, 0, TEffect::TonePortamento, 0)}},
      // Beside an Mx the effect's parameter is ignored and the step is taken
      // twice.
      {{start, Cell(25, 0xF2, TEffect::TonePortamento, 0xFF)}, {start, Cell(25, 0xF4, TEffect::Arpeggio, 0)}},
  };
  From(TOrigin::XM);
  for (const TCase& c : cases) {
    const auto period = [](const TTarnXMChannel& channel) { return channel.Period; };
    const std::vector<std::int32_t> written = Play(c.Written, 6, 18, period);
    EXPECT_EQ(written, Play(c.Same, 6, 18, period)) << c.Written[1].VolumeColumn;
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
      {TOrigin::XM, 0x09, {1, 1, 2, 2, 3}},
      {TOrigin::AmigaXM, 0x09, {0, 1, 1, 2, 2}},
      // To the first table entry not above the slide's period.
      {TOrigin::FourChannelMOD, 0x10, {1, 2, 3, 3, 4}},
  };
  for (const TCase& c : cases) {
    From(c.Origin);
    const std::vector<TTarnXMPatternNote> rows{Extended(49, TExtended::Glissando, 1),
                                               Cell(53, 0, TEffect::TonePortamento, c.Rate)};
    const std::vector<std::int32_t> heard = Heard(rows, 6, 12);
    EXPECT_EQ(std::vector<std::int32_t>(heard.begin() + 7, heard.end()), Periods(c.Semitones))
        << static_cast<int>(c.Origin);
    // Underneath, the slide moves on every tick.
    const std::vector<std::int32_t> periods =
        Play(rows, 6, 12, [](const TTarnXMChannel& channel) { return channel.Period; });
    for (int k = 7; k < 12; ++k) EXPECT_LT(periods[k], periods[k - 1]) << static_cast<int>(c.Origin) << " tick " << k;
  }
}

TEST_F(TrackerPitch, AutoVibratoStartsDownwards) {
  TTarnXMInstrument& instrument = *Song.Data().Instruments[1];
  instrument.VibratoDepth = 8;
  instrument.VibratoRate = 16;
  for (const TOrigin origin : {TOrigin::XM, TOrigin::AmigaXM}) {
    From(origin);
    const std::vector<std::int32_t> rates = Play({Cell(49, 0, TEffect::Arpeggio, 0)}, 6, 3,
                                                 [](const TTarnXMChannel& channel) { return channel.Frequency; });
    EXPECT_EQ(rates[0], 8363) << static_cast<int>(origin);
    EXPECT_LT(rates[1], 8363) << static_cast<int>(origin);
    EXPECT_LT(rates[2], rates[1]) << static_cast<int>(origin);
  }
}

TEST_F(TrackerPitch, AmigaPeriodsMoveThePitchAsTheTrackersDo) {
  From(TOrigin::AmigaXM);
  const TTarnXMSong& song = Song.Data();
  // C-4 is period 1712 (ProTracker's 428) at 8363 Hz, and one unit of 1xx,
  // four fine units, moves it as one ProTracker period moves 428.
  EXPECT_EQ(song.PeriodFromNote(48, 0), 4 * 428);
  EXPECT_EQ(song.PeriodFromNote(36, 0), 4 * 856);
  const std::vector<std::int32_t> rates = Play({Cell(49, 0, TEffect::PortamentoUp, 1)}, 6, 2,
                                               [](const TTarnXMChannel& channel) { return channel.Frequency; });
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
      {TOrigin::FourChannelMOD, 0, Cell(70, 0, TEffect::PortamentoUp, 0xFF), 4 * 113},
      {TOrigin::FourChannelMOD, 0, Cell(38, 0, TEffect::PortamentoDown, 0xFF), 4 * 856},
      {TOrigin::FourChannelMOD, -128, Cell(70, 0, TEffect::PortamentoUp, 0xFF), 4 * 120},
      {TOrigin::FourChannelMOD, -128, Cell(38, 0, TEffect::PortamentoDown, 0xFF), 4 * 907},
      {TOrigin::FourChannelMOD, 112, Cell(70, 0, TEffect::PortamentoUp, 0xFF), 4 * 108},
      {TOrigin::FourChannelMOD, 112, Cell(38, 0, TEffect::PortamentoDown, 0xFF), 4 * 814},
      {TOrigin::FourChannelMOD, 0, Extended(72, TExtended::FinePortamentoUp, 15), 4 * 113},
      {TOrigin::FourChannelMOD, 0, Extended(37, TExtended::FinePortamentoDown, 15), 4 * 856},
      // The other trackers slide on past them: from B-3's 453, 30 steps of 4.
      {TOrigin::SixChannelMOD, 0, Cell(72, 0, TEffect::PortamentoUp, 0x01), 453 - 30 * 4},
      {TOrigin::AmigaXM, 0, Extended(37, TExtended::FinePortamentoDown, 15), 4 * 856 + 60},
  };
  for (const TCase& c : cases) {
    From(c.Origin);
    Song.SampleOf(1).FineTune = c.FineTune;
    const std::vector<std::int32_t> periods =
        Play({c.Slide}, 31, 31, [](const TTarnXMChannel& channel) { return channel.Period; });
    EXPECT_EQ(periods.back(), c.Period) << static_cast<int>(c.Origin) << " " << c.FineTune << " " << c.Slide.Effect;
  }
}

}  // namespace
