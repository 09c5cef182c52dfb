// The effects of a row, driven tick by tick through small songs built in
// memory: notes and instruments, the main effects with their memories and
// step routines, and the volume column.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "player/effect_steps.h"
#include "tests/player/test_song.h"

namespace {

// One channel at speed 6 with instrument 1, whose sample has volume 64.
class Effects : public ::testing::Test {
 protected:
  Effects() : Song(1, 64) { Song.Instrument(1); }

  // Plays the rows' cells from the song's start through the first tick of
  // the last of them.
  void Play(const std::vector<TTarnXMPatternNote>& rows) {
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) Song.Cell(0, row, 0, rows[row]);
    Song.Start();
    Song.Tick(6 * static_cast<int>(rows.size()) - 5);
  }

  // The rest of the row: its ticks 1 to 5, recording a field after each.
  std::vector<std::int32_t> RestOfRow(const TField& field) { return Song.Trace(5, field); }

  TTarnXMChannel& Channel() { return Song.Channel(); }

  TTestSong Song;
};

TEST_F(Effects, ANoteStartsTheSampleOfItsInstrumentAtItsPeriod) {
  TTarnXMSample& sample = Song.SampleOf(1);
  sample.RelativeNote = 12;
  sample.FineTune = 16;
  sample.Volume = 40;
  sample.UsePanning = true;
  sample.Panning = 200;
  Play({Note(49, 1)});
  EXPECT_TRUE(Channel().Active);
  EXPECT_EQ(Channel().Sample, &sample);
  EXPECT_EQ(Channel().RealNote, 60);
  EXPECT_EQ(Channel().FineTune, 16);
  EXPECT_EQ(Channel().Period, 7680 - 64 * 60 - 8);
  EXPECT_EQ(Channel().Volume, 40);
  EXPECT_EQ(Channel().Panning, 200);
  EXPECT_EQ(Channel().Position, 0);
}

TEST_F(Effects, ARestartedNoteHandsItsLastOutputToClickRemoval) {
  Song.Cell(0, 1, 0, Note(49, 1));
  Play({Note(49, 1)});
  Song.Tick(5);
  Channel().LastLeft = 700;
  Channel().LastRight = -300;
  Channel().Position = std::int64_t{99} << 32;
  Song.State().DeclickLeft = 5;
  Song.Tick();
  EXPECT_EQ(Song.State().DeclickLeft, 705);
  EXPECT_EQ(Song.State().DeclickRight, -300);
  EXPECT_EQ(Channel().LastLeft, 0);
  EXPECT_EQ(Channel().Position, 0);
}

TEST_F(Effects, AnInstrumentAloneRestoresTheVolumeAndKeepsThePosition) {
  Play({Note(49, 1, 0x20), Note(0, 1)});
  EXPECT_EQ(Channel().Volume, 64);
  EXPECT_TRUE(Channel().Active);
  EXPECT_EQ(Channel().Period, 4608);
}

TEST_F(Effects, ArpeggioCyclesThroughItsThreeOffsets) {
  Play({Note(49, 1, 0, 0, 0x37)});
  EXPECT_EQ(Channel().PeriodDelta, 0);
  EXPECT_EQ(RestOfRow(PeriodDelta), (std::vector<std::int32_t>{-448, -192, 0, -448, -192}));

  Song.Data().LinearFrequency = false;
  Play({Note(49, 1, 0, 0, 0x37)});
  const TTarnXMSong& song = Song.Data();
  EXPECT_EQ(Channel().Arpeggio[1], song.PeriodFromNote(51, 0) - song.PeriodFromNote(48, 0));
  EXPECT_EQ(Channel().Arpeggio[2], song.PeriodFromNote(55, 0) - song.PeriodFromNote(48, 0));
}

TEST_F(Effects, PortamentosAndTheirMemories) {
  Play({Note(49, 1, 0, 1, 0x10)});
  EXPECT_EQ(RestOfRow(Period), (std::vector<std::int32_t>{4544, 4480, 4416, 4352, 4288}));
  Play({Note(49, 1, 0, 1, 0x10), Effect(1, 0)});
  EXPECT_EQ(RestOfRow(Period).back(), 4288 - 320);
  Play({Note(49, 1, 0, 2, 0x08), Effect(2, 0)});
  EXPECT_EQ(RestOfRow(Period).back(), 4608 + 320);
  // Fine slides act on the first tick only.
  Play({Note(49, 1, 0, 14, 0x13), Effect(14, 0x10)});
  EXPECT_EQ(Channel().Period, 4608 - 24);
  EXPECT_EQ(RestOfRow(Period).back(), 4608 - 24);
  Play({Note(49, 1, 0, 14, 0x25), Effect(14, 0x20)});
  EXPECT_EQ(Channel().Period, 4608 + 40);
  // Extra-fine slides move by the parameter itself.
  Play({Note(49, 1, 0, 33, 0x13), Effect(33, 0x10)});
  EXPECT_EQ(Channel().Period, 4608 - 6);
  Play({Note(49, 1, 0, 33, 0x25), Effect(33, 0x20)});
  EXPECT_EQ(Channel().Period, 4608 + 10);
  // Each memory is its own.
  Play({Note(49, 1, 0, 1, 0x10), Note(0, 0, 0, 2, 0x01), Effect(1, 0)});
  EXPECT_EQ(RestOfRow(Period).back(), 4608 - 320 + 20 - 320);
}

TEST_F(Effects, TonePortamentoSlidesToTheNewNoteWithoutRestartingIt) {
  Play({Note(49, 1, 0x20), Note(61, 0, 0, 3, 0x10)});
  EXPECT_EQ(Channel().PortaTarget, 3840);
  EXPECT_EQ(Channel().Period, 4608);
  EXPECT_EQ(Channel().RealNote, 61);
  EXPECT_EQ(Channel().Volume, 16);
  EXPECT_EQ(Channel().Position, 0);
  Channel().Position = std::int64_t{500} << 32;
  EXPECT_EQ(RestOfRow(Period), (std::vector<std::int32_t>{4544, 4480, 4416, 4352, 4288}));
  EXPECT_EQ(Channel().Position, std::int64_t{500} << 32);
  EXPECT_TRUE(Channel().Active);
}

TEST_F(Effects, TonePortamentoWithAnInstrumentRestartsEnvelopesAndVolumeButNotTheSample) {
  TTarnXMInstrument& instrument = *Song.Data().Instruments[1];
  instrument.VolumeEnvelope.Enabled = true;
  instrument.VolumeEnvelope.NumPoints = 2;
  instrument.VolumeEnvelope.Points[1] = {100, 0};
  instrument.FadeOut = 100;
  Play({Note(49, 1, 0x20), Note(97), Note(61, 1, 0, 3, 0xFF)});
  EXPECT_EQ(Channel().VolumeEnvelope.Position, 1);
  EXPECT_TRUE(Channel().VolumeEnvelope.KeyOn);
  EXPECT_EQ(Channel().FadeOutVolume, 65536);
  EXPECT_EQ(Channel().Volume, 64);
  EXPECT_EQ(Channel().Period, 4608);
  // The speed of 1020 a tick stops at the target.
  Song.Tick();
  EXPECT_EQ(Channel().Period, 3840);
  Song.Tick();
  EXPECT_EQ(Channel().Period, 3840);
}

TEST_F(Effects, TonePortamentoFromTheVolumeColumn) {
  Play({Note(49, 1), Note(37, 0, 0xF8)});
  EXPECT_EQ(Channel().PortaSpeed, 128);
  EXPECT_EQ(RestOfRow(Period).back(), 5376);
  // Speed 0 leaves the period where it is.
  Play({Note(49, 1), Note(37, 0, 0xF0)});
  EXPECT_EQ(RestOfRow(Period).back(), 4608);
}

TEST_F(Effects, GlissandoMovesASemitoneAtATimeAndReachesTheTarget) {
  Play({Note(49, 1, 0, 14, 0x31), Note(53, 0, 0, 3, 0xFF)});
  EXPECT_EQ(RestOfRow(Heard), (std::vector<std::int32_t>{4352, 4352, 4352, 4352, 4352}));
  // Downwards, from between two semitones.
  Play({Note(53, 1, 0, 14, 0x31), Note(0, 0, 0, 33, 0x25), Note(49, 0, 0, 3, 0xFF)});
  EXPECT_EQ(Heard(Song), 4352);
  EXPECT_EQ(RestOfRow(Heard), (std::vector<std::int32_t>{4608, 4608, 4608, 4608, 4608}));
  // Slower than a semitone a tick it is heard at the nearest semitone.
  Play({Note(49, 1, 0, 14, 0x31), Note(50, 0, 0, 3, 0x05)});
  EXPECT_EQ(RestOfRow(Heard), (std::vector<std::int32_t>{4608, 4544, 4544, 4544, 4544}));
  Play({Note(49, 1, 0, 14, 0x31), Effect(14, 0x30)});
  EXPECT_FALSE(Channel().Glissando);
}

TEST_F(Effects, VibratoWaveforms) {
  // Speed 4, depth 8: sine, ramp, square, each from position 0.
  Play({Note(49, 1, 0, 4, 0x48)});
  EXPECT_EQ(Channel().PeriodDelta, 0);
  EXPECT_EQ(RestOfRow(PeriodDelta), (std::vector<std::int32_t>{0, 24, 45, 58, 63}));
  Play({Note(49, 1, 0, 14, 0x41), Note(49, 1, 0, 4, 0x48)});
  EXPECT_EQ(Channel().PeriodDelta, 0);
  EXPECT_EQ(RestOfRow(PeriodDelta), (std::vector<std::int32_t>{0, 8, 16, 24, 32}));
  Play({Note(49, 1, 0, 14, 0x42), Note(49, 1, 0, 4, 0x88)});
  EXPECT_EQ(RestOfRow(PeriodDelta), (std::vector<std::int32_t>{63, 63, 63, 63, -63}));
  // The effect without parameter keeps speed and depth.
  Play({Note(49, 1, 0, 4, 0x48), Effect(4, 0)});
  EXPECT_EQ(Channel().VibratoSpeed, 4);
  EXPECT_EQ(Channel().VibratoDepth, 8);
}

TEST_F(Effects, VibratoAndTremoloWaveformThreePlaysTheSquare) {
  const std::int32_t high = 255 * 15 / 32;
  Play({Note(49, 1, 0, 14, 0x43)});
  Song.Tick(6);
  EXPECT_EQ(Song.State().TickCounter, 0);
  Song.Cell(0, 2, 0, Effect(4, 0x1F));
  Song.Tick(6);
  EXPECT_EQ(Channel().PeriodDelta, high);
  EXPECT_EQ(RestOfRow(PeriodDelta), (std::vector<std::int32_t>{high, high, high, high, high}));
  Song.Cell(0, 3, 0, Effect(14, 0x73));
  Song.Cell(0, 4, 0, Effect(7, 0x1F));
  Song.Tick(8);
  EXPECT_EQ(Channel().VolumeDelta, 255 * 15 / 64);
}

TEST_F(Effects, WaveformsFourToSevenKeepTheirPositionFromNoteToNote) {
  Play({Note(49, 1, 0, 14, 0x44), Note(49, 1, 0, 4, 0x48)});
  Song.Tick(5);
  EXPECT_EQ(Channel().VibratoPosition, 20);
  Song.Cell(0, 2, 0, Note(49, 1));
  Song.Tick();
  EXPECT_EQ(Channel().VibratoPosition, 20);
  Play({Note(49, 1, 0, 14, 0x40), Note(49, 1, 0, 4, 0x48), Note(49, 1)});
  EXPECT_EQ(Channel().VibratoPosition, 0);
}

TEST_F(Effects, TremoloLowersTheVolumeDownToZero) {
  Play({Note(49, 1, 0x15, 14, 0x72), Note(0, 0, 0, 7, 0x8F)});
  EXPECT_EQ(Channel().VolumeDelta, 0);
  EXPECT_EQ(RestOfRow(VolumeDelta), (std::vector<std::int32_t>{59, 59, 59, 59, -59}));
  EXPECT_EQ(Channel().FinalVolume, 0);
  EXPECT_EQ(Channel().Volume, 5);
}

TEST_F(Effects, TremorSilencesTheOffTicksAndXZeroHearsOneTick) {
  Play({Note(49, 1, 0, 29, 0x21)});
  EXPECT_EQ(Channel().VolumeDelta, 0);
  EXPECT_EQ(RestOfRow(VolumeDelta), (std::vector<std::int32_t>{0, 0, -64, -64, 0}));
  Play({Note(49, 1, 0, 29, 0x03)});
  EXPECT_NE(Channel().FinalVolume, 0);
  EXPECT_EQ(RestOfRow(VolumeDelta), (std::vector<std::int32_t>{-64, -64, -64, -64, 0}));
  EXPECT_NE(Channel().FinalVolume, 0);
}

TEST_F(Effects, SampleOffsetInUnitsOf256Frames) {
  Play({Note(49, 1, 0, 9, 0)});
  EXPECT_EQ(Channel().Position, 0);
  Play({Note(49, 1, 0, 9, 0x10)});
  EXPECT_EQ(Channel().Position, std::int64_t{4096} << 32);
}

TEST_F(Effects, VolumeAndPanningCommandsOfTheVolumeColumn) {
  struct TCase {
    int Column;
    int Volume;
    int Panning;
  };
  // After a row of 6 ticks from volume 32 (0x30) and panning 128.
  const TCase cases[] = {{0x10, 0, 128},  {0x50, 64, 128}, {0x62, 22, 128}, {0x73, 47, 128}, {0x84, 28, 128},
                         {0x95, 37, 128}, {0xC3, 32, 48},  {0xD4, 32, 108}, {0xE4, 32, 148}};
  for (const TCase& c : cases) {
    Play({Note(49, 1, 0x30, 8, 128), Note(0, 0, c.Column)});
    Song.Tick(5);
    EXPECT_EQ(Channel().Volume, c.Volume) << std::hex << c.Column;
    EXPECT_EQ(Channel().Panning, c.Panning) << std::hex << c.Column;
  }
}

TEST_F(Effects, VibratoCommandsOfTheVolumeColumn) {
  Play({Note(49, 1, 0xA4), Note(0, 0, 0xB8)});
  EXPECT_EQ(Channel().VibratoSpeed, 4);
  EXPECT_EQ(Channel().VibratoDepth, 8);
  EXPECT_EQ(Channel().PeriodDelta, 0);
  EXPECT_EQ(RestOfRow(PeriodDelta), (std::vector<std::int32_t>{0, 24, 45, 58, 63}));
}

TEST_F(Effects, VolumeSlidesSetVolumeAndPanning) {
  Play({Note(49, 1, 0x30, 10, 0x21)});
  EXPECT_EQ(RestOfRow(Volume).back(), 32 + 10);
  Play({Note(49, 1, 0x30, 10, 0x04), Effect(10, 0)});
  // Update holds the volume at 0 while the slide goes on.
  EXPECT_EQ(RestOfRow(Volume), (std::vector<std::int32_t>{8, 4, 0, 0, 0}));
  EXPECT_EQ(Channel().FinalVolume, 0);
  Play({Note(49, 1, 0x30, 14, 0xA3), Effect(14, 0xA0)});
  EXPECT_EQ(Channel().Volume, 38);
  Play({Note(49, 1, 0x30, 14, 0xB3), Effect(14, 0xB0)});
  EXPECT_EQ(Channel().Volume, 26);
  Play({Note(49, 1, 0, 12, 0x22)});
  EXPECT_EQ(Channel().Volume, 0x22);
  Play({Note(49, 1, 0, 8, 0x22)});
  EXPECT_EQ(Channel().Panning, 0x22);
  Play({Note(49, 1, 0, 25, 0x30), Effect(25, 0)});
  EXPECT_EQ(RestOfRow(Panning).back(), 128 + 30);
  Play({Note(49, 1, 0, 25, 0x03)});
  EXPECT_EQ(RestOfRow(Panning).back(), 128 - 15);
  // Effects 5 and 6 slide the volume with the tone portamento and vibrato.
  Play({Note(49, 1, 0x30), Note(37, 0, 0, 3, 0x04), Note(0, 0, 0, 5, 0x20)});
  EXPECT_EQ(RestOfRow(Volume).back(), 32 + 10);
  EXPECT_EQ(Channel().Period, 4608 + 16 * 10);
  Play({Note(49, 1, 0x30, 4, 0x48), Note(0, 0, 0, 6, 0x02)});
  EXPECT_EQ(RestOfRow(Volume).back(), 32 - 10);
  EXPECT_NE(Channel().PeriodDelta, 0);
}

TEST_F(Effects, NoteDelayAndNoteCut) {
  Play({Note(49, 1, 0, 14, 0xD3)});
  EXPECT_FALSE(Channel().Active);
  EXPECT_EQ(Channel().Period, 0);
  Song.Tick(2);
  EXPECT_FALSE(Channel().Active);
  Song.Tick();
  EXPECT_TRUE(Channel().Active);
  EXPECT_EQ(Channel().Period, 4608);
  Play({Note(49, 1, 0, 14, 0xD0)});
  EXPECT_TRUE(Channel().Active);

  Play({Note(49, 1, 0, 14, 0xC2)});
  Song.Tick();
  EXPECT_EQ(Channel().Volume, 64);
  Song.Tick();
  EXPECT_EQ(Channel().Volume, 0);
}

TEST_F(Effects, RetriggersRestartTheNoteAndChangeTheVolume) {
  // After a row at interval 3 from volume 30, by each volume change x.
  const int expected[16] = {30, 29, 28, 26, 22, 14, 20, 15, 30, 31, 32, 34, 38, 46, 45, 60};
  for (int x = 0; x < 16; ++x) {
    Play({Note(49, 1), Note(49, 0, 0x2E, 27, x << 4 | 3)});
    Song.Tick(2);
    Channel().Position = std::int64_t{77} << 32;
    Song.Tick();
    EXPECT_EQ(Channel().Position, 0) << x;
    Song.Tick(2);
    EXPECT_EQ(Channel().Volume, expected[x]) << x;
  }
  // E9y retriggers every y ticks.
  Play({Note(49, 1, 0, 14, 0x92)});
  Channel().Position = 7;
  Song.Tick();
  EXPECT_EQ(Channel().Position, 7);
  Song.Tick();
  EXPECT_EQ(Channel().Position, 0);
}

TEST_F(Effects, GlobalVolumeAndItsSlide) {
  Play({Effect(16, 0x20)});
  EXPECT_EQ(Song.State().GlobalVolume, 32);
  Play({Effect(16, 0x20), Effect(17, 0x02)});
  Song.Tick(5);
  EXPECT_EQ(Song.State().GlobalVolume, 22);
  Play({Effect(16, 0x20), Effect(17, 0x01), Effect(17, 0)});
  Song.Tick(5);
  EXPECT_EQ(Song.State().GlobalVolume, 22);
}

TEST_F(Effects, KeyOffAndEnvelopePosition) {
  TTarnXMInstrument& instrument = *Song.Data().Instruments[1];
  instrument.VolumeEnvelope.Enabled = true;
  instrument.VolumeEnvelope.NumPoints = 2;
  instrument.VolumeEnvelope.Points[0] = {0, 64};
  instrument.VolumeEnvelope.Points[1] = {10, 0};
  Play({Note(49, 1), Effect(21, 5)});
  EXPECT_EQ(Channel().EnvelopeVolume, 32);
  EXPECT_EQ(Channel().VolumeEnvelope.Position, 6);
  EXPECT_EQ(Channel().PanningEnvelope.Position, 5);

  for (const TTarnXMPatternNote& release : {Note(97), Effect(20, 0)}) {
    Play({Note(49, 1), release});
    EXPECT_TRUE(Channel().KeyOff);
    EXPECT_FALSE(Channel().VolumeEnvelope.KeyOn);
    EXPECT_FALSE(Channel().PanningEnvelope.KeyOn);
  }
}

TEST_F(Effects, ExtendedSwitches) {
  Play({Note(49, 1, 0, 33, 0x90)});
  EXPECT_TRUE(Channel().Surround);
  Play({Note(49, 1, 0, 33, 0x90), Effect(33, 0x91)});
  EXPECT_FALSE(Channel().Surround);
  Play({Note(49, 1, 0, 33, 0x9F)});
  EXPECT_TRUE(Channel().Backwards);
  Play({Note(49, 1, 0, 33, 0x9F), Effect(33, 0x9E)});
  EXPECT_FALSE(Channel().Backwards);
  // A note start switches the filter off while FilterOffOnNote is set.
  Play({Effect(33, 0x9D), Note(49, 1)});
  EXPECT_TRUE(Channel().FilterOffOnNote);
  Channel().FilterActive = true;
  Song.Cell(0, 2, 0, Note(49, 1));
  Song.Tick(6);
  EXPECT_FALSE(Channel().FilterActive);
  Play({Effect(33, 0x9D), Effect(33, 0x9C)});
  EXPECT_FALSE(Channel().FilterOffOnNote);
  Play({Effect(14, 0xF5)});
  EXPECT_EQ(Channel().ActiveMacro, 5);
  Play({Note(49, 1, 0, 14, 0x4F), Effect(14, 0x7E)});
  EXPECT_EQ(Channel().VibratoWaveform, 7);
  EXPECT_EQ(Channel().TremoloWaveform, 6);
}

TEST_F(Effects, FinetuneKeepsTheNote) {
  Play({Note(49, 1, 0, 14, 0x58)});
  EXPECT_EQ(Channel().FineTune, 0);
  EXPECT_EQ(Channel().Period, 4608);
}

TEST_F(Effects, FilterEffectsReachTheFilterOnEveryTickOfTheRow) {
  Play({Note(49, 1, 0, 35, 0x40)});
  EXPECT_EQ(Channel().FilterCutoff, 64);
  EXPECT_TRUE(Channel().FilterActive);
  Play({Note(49, 1, 0, 26, 0x30)});
  EXPECT_EQ(Channel().FilterResonance, 0x30);
  EXPECT_TRUE(Channel().FilterActive);

  Song.Data().InitialSpeed = 4;
  Song.Cell(0, 0, 0, Note(49, 1, 0, 37, 0));
  Song.Start();
  EXPECT_EQ(Song.Trace(4, FilterCutoff), (std::vector<std::int32_t>{95, 64, 32, 0}));
}

TEST_F(Effects, SlidesOnASilentChannelStopAtTheirLimit) {
  Song.Data().InitialSpeed = 31;
  for (int row = 0; row < 64; ++row) Song.Cell(0, row, 0, Effect(2, 0xFF));
  Song.Start();
  Song.Tick();
  Channel().Period = SlideLimit - 5000;
  Song.Tick(100);
  EXPECT_FALSE(Channel().Active);
  EXPECT_EQ(Channel().Period, SlideLimit);

  for (int row = 0; row < 64; ++row) Song.Cell(0, row, 0, Effect(1, 0xFF));
  Song.Start();
  Song.Tick();
  Channel().Period = -SlideLimit + 5000;
  Song.Tick(100);
  EXPECT_EQ(Channel().Period, -SlideLimit);

  for (int row = 0; row < 64; ++row) Song.Cell(0, row, 0, Effect(27, 0xF1));
  Song.Start();
  Song.Tick();
  Channel().Volume = SlideLimit / 4;
  Song.Tick(10);
  EXPECT_EQ(Channel().Volume, SlideLimit);

  for (int row = 0; row < 64; ++row) Song.Cell(0, row, 0, Effect(17, 0x0F));
  Song.Start();
  Song.Tick();
  Song.State().GlobalVolume = -SlideLimit + 100;
  Song.Tick(100);
  EXPECT_EQ(Song.State().GlobalVolume, -SlideLimit);
}

}  // namespace
