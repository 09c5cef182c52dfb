// The module writer's files, read back by the engine's own loader: what its
// descriptions of the song, the instruments and the cells tell, and the few
// facts the public header does not describe (the filter range, the macros,
// the pattern names, the sample map and the sample values) from the loaded
// song itself.
#include "tools/xm_writer/xm_writer.h"

#include <gtest/gtest.h>

#include "tarnxm/tarnxm.h"
#include "tests/tools/cell_fields.h"
#include "tools/music/effect_numbers.h"
#include "tools/xm_writer/xm_encoding.h"

namespace {

TXmSong TwoPatternSong() {
  TXmSong song;
  song.Name = "round trip";
  song.Channels = 3;
  song.Speed = 5;
  song.Tempo = 140;
  song.RestartPosition = 1;
  song.ExtendedFilterRange = true;
  song.Orders = {1, 0, 1};
  TXmPattern first{"first", 4, std::vector<TXmCell>(4 * 3)};
  // Every field: stored unpacked.
  first.Cells[0] = {49, 1, 0x40, EffectNumber(TTarnXMEffect::SetSpeedTempo), 0x06};
  first.Cells[4] = {97, 0, 0, 0, 0};    // key off
  first.Cells[5] = {0, 0, 0xF3, 0, 0};  // volume-column tone portamento alone
  first.Cells[9] = {0, 0, 0, EffectNumber(TTarnXMEffect::SmoothMidiMacro), 0x40};
  first.Cells[11] = {96, 2, 0, EffectNumber(TTarnXMEffect::Extended),
                     ExtendedParameter(TTarnXMExtendedEffect::PatternLoop, 1)};
  song.Patterns = {first, TXmPattern{"", 3, std::vector<TXmCell>(3 * 3)}};
  return song;
}

TXmInstrument TwoSampleInstrument() {
  TXmInstrument instrument;
  instrument.Name = "two samples";
  instrument.SampleMap.fill(0);
  for (int note = 48; note < 96; ++note) instrument.SampleMap[note] = 1;
  instrument.VolumeEnvelope = {{{0, 0}, {10, 64}, {300, 20}}, true, true, true, 1, 1, 2};
  instrument.PanningEnvelope = {{{0, 32}, {20, 0}}, true, false, false, 0, 0, 0};
  instrument.VibratoType = 1;
  instrument.VibratoSweep = 20;
  instrument.VibratoDepth = 6;
  instrument.VibratoRate = 9;
  instrument.FadeOut = 1234;
  TXmSample wide;
  wide.Name = "wide";
  wide.Data = {0, 32767, -32768, 32767, -1, 1, 0, 12345};
  wide.Loop = TXmLoop::Forward;
  wide.LoopStart = 2;
  wide.LoopLength = 6;
  wide.Volume = 50;
  wide.FineTune = -17;
  wide.Panning = 30;
  wide.RelativeNote = -5;
  TXmSample narrow;
  narrow.Name = "narrow";
  narrow.SixteenBit = false;
  narrow.Data = {0, 127 * 256, -128 * 256, -256, 256, 5 * 256};
  narrow.Loop = TXmLoop::PingPong;
  narrow.LoopStart = 1;
  narrow.LoopLength = 4;
  instrument.Samples = {wide, narrow};
  return instrument;
}

TTarnXMLoad Load(const TXmSong& song) {
  const TXmWriteResult written = WriteXm(song);
  EXPECT_EQ(written.Error, "");
  return LoadModule(written.Bytes.data(), written.Bytes.size());
}

}  // namespace

TEST(XmWriter, HeaderOrdersAndPatternsReadBackUnchanged) {
  const TXmSong song = TwoPatternSong();
  const TTarnXMLoad load = Load(song);
  ASSERT_TRUE(load) << load.Error;
  const TTarnXMSongInfo info = DescribeSong(*load.Song);
  EXPECT_EQ(info.Title, "round trip");
  EXPECT_EQ(info.FormatVersion, 0x0104);
  EXPECT_EQ(info.Channels, 3);
  EXPECT_EQ(info.RestartPosition, 1);
  EXPECT_EQ(info.InitialSpeed, 5);
  EXPECT_EQ(info.InitialTempo, 140);
  EXPECT_TRUE(info.LinearFrequency);
  EXPECT_TRUE(info.ExtendedFilterRange);
  // The song's length in orders, and nothing past it.
  EXPECT_EQ(info.Orders, (std::vector<std::int32_t>{1, 0, 1}));
  for (int p = 0; p < 2; ++p) {
    const TXmPattern& pattern = song.Patterns[p];
    ASSERT_EQ(PatternRows(*load.Song, p), pattern.Rows);
    for (int row = 0; row < pattern.Rows; ++row)
      for (int channel = 0; channel < 3; ++channel)
        EXPECT_EQ(Fields(PatternCell(*load.Song, p, row, channel)), Fields(pattern.Cells[row * 3 + channel]))
            << "pattern " << p << " row " << row << " channel " << channel;
  }
}

TEST(XmWriter, InstrumentsKeepEnvelopesAutoVibratoFadeOutAndSamples) {
  TXmSong song = TwoPatternSong();
  song.Instruments = {TwoSampleInstrument(), TXmInstrument{}};
  const TTarnXMLoad load = Load(song);
  ASSERT_TRUE(load) << load.Error;
  const std::vector<TTarnXMInstrumentInfo> instruments = DescribeInstruments(*load.Song);
  // An instrument without samples is written too, so the numbers stay.
  ASSERT_EQ(instruments.size(), 2u);
  EXPECT_EQ(instruments[1].Number, 2);
  EXPECT_TRUE(instruments[1].Samples.empty());
  const TTarnXMInstrumentInfo& instrument = instruments[0];
  EXPECT_EQ(instrument.Number, 1);
  EXPECT_EQ(instrument.Name, "two samples");
  const TTarnXMEnvelopeInfo& volume = instrument.VolumeEnvelope;
  EXPECT_TRUE(volume.Enabled && volume.SustainEnabled && volume.LoopEnabled);
  ASSERT_EQ(volume.Points.size(), 3u);
  EXPECT_EQ(volume.Points[2], std::make_pair(300, 20));
  EXPECT_EQ(volume.SustainPoint, 1);
  EXPECT_EQ(volume.LoopStart, 1);
  EXPECT_EQ(volume.LoopEnd, 2);
  const TTarnXMEnvelopeInfo& panning = instrument.PanningEnvelope;
  EXPECT_TRUE(panning.Enabled);
  EXPECT_FALSE(panning.SustainEnabled || panning.LoopEnabled);
  ASSERT_EQ(panning.Points.size(), 2u);
  EXPECT_EQ(panning.Points[1].first, 20);
  EXPECT_EQ(instrument.VibratoType, 1);
  EXPECT_EQ(instrument.VibratoSweep, 20);
  EXPECT_EQ(instrument.VibratoDepth, 6);
  EXPECT_EQ(instrument.VibratoRate, 9);
  EXPECT_EQ(instrument.FadeOut, 1234);

  const TXmInstrument& written = song.Instruments[0];
  ASSERT_EQ(instrument.Samples.size(), 2u);
  EXPECT_EQ(instrument.SampleMap[47], 0);
  EXPECT_EQ(instrument.SampleMap[48], 1);
  for (int s = 0; s < 2; ++s) {
    const TTarnXMSampleInfo& sample = instrument.Samples[s];
    const TXmSample& want = written.Samples[s];
    EXPECT_EQ(sample.Index, s);
    EXPECT_EQ(sample.Name, want.Name);
    EXPECT_EQ(sample.Bits, want.SixteenBit ? 16 : 8);
    ASSERT_EQ(sample.Length, static_cast<std::int32_t>(want.Data.size()));
    const std::vector<std::int32_t> values = SampleValues(*load.Song, 1, s);
    EXPECT_EQ(values, std::vector<std::int32_t>(want.Data.begin(), want.Data.end())) << "sample " << s;
    EXPECT_TRUE(sample.Loop);
    EXPECT_EQ(sample.PingPong, want.Loop == TXmLoop::PingPong);
    EXPECT_EQ(sample.LoopStart, static_cast<std::int32_t>(want.LoopStart));
    EXPECT_EQ(sample.LoopLength, static_cast<std::int32_t>(want.LoopLength));
    EXPECT_EQ(sample.Volume, want.Volume);
    EXPECT_EQ(sample.FineTune, want.FineTune);
    EXPECT_EQ(sample.Panning, want.Panning);
    EXPECT_EQ(sample.RelativeNote, want.RelativeNote);
  }
}

TEST(XmWriter, ChunksCarryTheMessageMacrosAndNames) {
  TXmSong song = TwoPatternSong();
  song.Message = "first line\nsecond";
  song.Macros.assign(XmMacroCount, "");
  song.Macros[9] = "F0F000z";
  song.Macros[25 + 0x10] = "F0F00210";
  song.ChannelNames = {"kick", "bass"};
  const TTarnXMLoad load = Load(song);
  ASSERT_TRUE(load) << load.Error;
  const TTarnXMSongInfo info = DescribeSong(*load.Song);
  EXPECT_EQ(info.Comment, "first line\r\nsecond");
  EXPECT_EQ(info.ChannelNames, (std::vector<std::string>{"kick", "bass", ""}));
  EXPECT_TRUE(info.MacrosFromFile);
  ASSERT_EQ(info.Macros.size(), static_cast<std::size_t>(XmMacroCount));
  EXPECT_EQ(info.Macros[25 + 0x10], "F0F00210");
  EXPECT_EQ(info.Macros[25], "");  // the song's table replaces the defaults
  EXPECT_EQ(info.PatternNames.at(0), "first");
}

TEST(XmWriter, CellsPackToTheShortestForm) {
  std::vector<std::uint8_t> bytes;
  PackCell({}, bytes);
  PackCell({49, 1, 0x40, EffectNumber(TTarnXMEffect::SetSpeedTempo), 0x06}, bytes);
  PackCell({0, 0, 0, EffectNumber(TTarnXMEffect::SetVolume), 0}, bytes);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x80, 49, 1, 0x40, 0x0F, 0x06, 0x88, 0x0C}));
  EXPECT_EQ(Delta16({1000, -1000}), (std::vector<std::uint8_t>{0xE8, 0x03, 0x30, 0xF8}));
  EXPECT_EQ(Delta8({-128, 127}), (std::vector<std::uint8_t>{0x80, 0xFF}));
}

TEST(XmWriter, RefusesWhatTheFormatCannotHold) {
  const auto error = [](TXmSong song) { return WriteXm(song); };
  TXmSong song = TwoPatternSong();
  song.Patterns[1] = {"", 257, std::vector<TXmCell>(257 * 3)};
  EXPECT_NE(error(song).Error, "");
  EXPECT_TRUE(error(song).Bytes.empty());

  song = TwoPatternSong();
  song.Orders = {2};
  EXPECT_NE(error(song).Error, "");

  song = TwoPatternSong();
  song.RestartPosition = 3;
  EXPECT_NE(error(song).Error, "");

  song = TwoPatternSong();
  song.Patterns[0].Cells.pop_back();
  EXPECT_NE(error(song).Error, "");

  // Every cell in full: 5 bytes each, past what a pattern's 16-bit packed size holds.
  song = TwoPatternSong();
  song.Channels = 255;
  song.Patterns = {{"", 256, std::vector<TXmCell>(256 * 255, {49, 1, 0x40, 1, 1})}};
  song.Orders = {0};
  song.RestartPosition = 0;
  EXPECT_NE(error(song).Error, "");

  song = TwoPatternSong();
  song.Instruments = {TwoSampleInstrument()};
  song.Instruments[0].VolumeEnvelope.Points.assign(13, {});
  for (int i = 0; i < 13; ++i) song.Instruments[0].VolumeEnvelope.Points[i].Tick = static_cast<std::uint16_t>(i);
  EXPECT_NE(error(song).Error, "");

  song.Instruments = {TwoSampleInstrument()};
  song.Instruments[0].Samples[1].LoopLength = 6;
  EXPECT_NE(error(song).Error, "");
}
