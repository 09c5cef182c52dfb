#include <gtest/gtest.h>

#include <vector>

#include "player/module.h"
#include "tests/player/load_bytes.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

// A song with the one instrument.
TXMWriter WithInstrument(const TXMInstrumentWriter& instrument, std::uint16_t version = 0x0104) {
  TXMWriter writer;
  writer.Version = version;
  writer.Instruments.push_back(instrument);
  return writer;
}

// A song with one instrument holding the given samples.
TXMWriter WithSamples(std::vector<TXMSampleWriter> samples, std::uint16_t version = 0x0104) {
  TXMInstrumentWriter instrument;
  instrument.Samples = std::move(samples);
  return WithInstrument(instrument, version);
}

const TTarnXMSample& SampleOf(const TTarnXMModule& module, int instrument, int sample) {
  return *module.Song->Instruments[instrument]->Samples[sample];
}

std::vector<int> Values(const TTarnXMSample& sample) {
  return std::vector<int>(sample.Data, sample.Data + sample.Length * sample.Channels);
}

TXMSampleWriter Looped(std::uint32_t length, std::uint32_t loopStart, std::uint32_t loopLength, std::uint8_t type = 1) {
  TXMSampleWriter sample;
  sample.Data.assign(length, 1);
  sample.LoopStart = loopStart;
  sample.LoopLength = loopLength;
  sample.Type = type;
  return sample;
}

TEST(XMInstruments, ReadsTheInstrumentHeaderAndItsEnvelopes) {
  TXMInstrumentWriter instrument;
  instrument.Name = " Lead ";
  instrument.SampleMap[0] = 1;
  instrument.SampleMap[95] = 2;
  instrument.FadeOut = 0x0400;
  instrument.VibratoType = 1;
  instrument.VibratoSweep = 2;
  instrument.VibratoDepth = 3;
  instrument.VibratoRate = 4;
  // The third position is a byte that wrapped: 0, 10, 260.
  instrument.VolumeEnvelope = {{{0, 64}, {10, 0x1220}, {4, 0}}, std::nullopt, 1, 0, 2, 0x07};
  instrument.PanningEnvelope = {{{0, 32}, {300, 0}, {200, 0}}, std::nullopt, 0, 1, 1, 0x05};
  instrument.Samples.push_back({});
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, WithInstrument(instrument).Build()));
  const TTarnXMInstrument& loaded = *module.Song->Instruments[1];
  EXPECT_EQ(loaded.Name, "Lead");
  EXPECT_EQ(loaded.SampleMap[0], 1);
  EXPECT_EQ(loaded.SampleMap[95], 2);
  EXPECT_EQ(loaded.FadeOut, 0x0400);
  EXPECT_EQ(loaded.VibratoType, 1);
  EXPECT_EQ(loaded.VibratoSweep, 2);
  EXPECT_EQ(loaded.VibratoDepth, 3);
  EXPECT_EQ(loaded.VibratoRate, 4);
  const TTarnXMEnvelope& volume = loaded.VolumeEnvelope;
  EXPECT_TRUE(volume.Enabled);
  EXPECT_TRUE(volume.SustainEnabled);
  EXPECT_TRUE(volume.LoopEnabled);
  EXPECT_EQ(volume.NumPoints, 3);
  EXPECT_EQ(volume.SustainPoint, 1);
  EXPECT_EQ(volume.LoopEnd, 2);
  EXPECT_EQ(volume.Points[1].Value, 0x20);  // the low byte of the value word
  EXPECT_EQ(volume.Points[2].Position, 260);
  const TTarnXMEnvelope& panning = loaded.PanningEnvelope;
  EXPECT_TRUE(panning.Enabled);
  EXPECT_FALSE(panning.LoopEnabled);           // loop start = loop end
  EXPECT_EQ(panning.Points[2].Position, 456);  // 200 moved into the span after 300
}

TEST(XMInstruments, EnvelopesTheTableCannotHoldAreCutOrSwitchedOff) {
  TXMInstrumentWriter instrument;
  instrument.VolumeEnvelope = {{{0, 64}, {5, 0}}, 0, 0, 0, 0, 0x01};
  instrument.PanningEnvelope = {{{0, 1}, {1, 2}, {2, 3}}, 200, 12, 3, 12, 0x07};
  instrument.Samples.push_back({});
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, WithInstrument(instrument).Build()));
  EXPECT_FALSE(module.Song->Instruments[1]->VolumeEnvelope.Enabled);
  const TTarnXMEnvelope& panning = module.Song->Instruments[1]->PanningEnvelope;
  EXPECT_EQ(panning.NumPoints, 12);
  EXPECT_TRUE(panning.Enabled);
  EXPECT_FALSE(panning.SustainEnabled);
  EXPECT_FALSE(panning.LoopEnabled);
}

// The instrument size ends the header: fields past it are read as zeros, not
// from the sample header and data that follow at that size.
TEST(XMInstruments, FieldsPastTheInstrumentSizeReadAsZeros) {
  TXMInstrumentWriter instrument;
  instrument.Name = "short";
  instrument.SampleMap.fill(1);
  instrument.Size = 129;  // up to the end of the sample map
  TXMSampleWriter sample;
  sample.Data.assign(300, 0x07);
  instrument.Samples.push_back(sample);
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, WithInstrument(instrument).Build()));
  const TTarnXMInstrument& loaded = *module.Song->Instruments[1];
  EXPECT_EQ(loaded.Name, "short");
  EXPECT_EQ(loaded.SampleMap[95], 1);
  for (const TTarnXMEnvelope* envelope : {&loaded.VolumeEnvelope, &loaded.PanningEnvelope}) {
    EXPECT_FALSE(envelope->Enabled);
    EXPECT_EQ(envelope->NumPoints, 0);
    EXPECT_EQ(envelope->Points[0].Position, 0);
  }
  EXPECT_EQ(loaded.VibratoType, 0);
  EXPECT_EQ(loaded.VibratoDepth, 0);
  EXPECT_EQ(loaded.FadeOut, 0);
  EXPECT_EQ(SampleOf(module, 1, 0).Length, 300);
}

TEST(XMInstruments, ReadsSampleHeadersAndDeltaData) {
  TXMSampleWriter sample;
  sample.Name = "  kick";
  sample.Data = Delta8({0, 10, -10, 127, -128});
  sample.Volume = 80;
  sample.FineTune = -16;
  sample.RelativeNote = -12;
  sample.Panning = 20;
  sample.Type = 3;
  sample.LoopStart = 1;
  sample.LoopLength = 4;
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, WithSamples({sample}).Build()));
  const TTarnXMSample& loaded = SampleOf(module, 1, 0);
  EXPECT_EQ(loaded.Name, "kick");
  EXPECT_EQ(Values(loaded), (std::vector<int>{0, 2560, -2560, 32512, -32768}));
  EXPECT_EQ(loaded.Bits, 8);
  EXPECT_EQ(loaded.Volume, 80);
  EXPECT_EQ(loaded.FineTune, -16);
  EXPECT_EQ(loaded.RelativeNote, -12);
  EXPECT_EQ(loaded.Panning, 20);
  EXPECT_TRUE(loaded.UsePanning);
  EXPECT_TRUE(loaded.Loop);
  EXPECT_TRUE(loaded.PingPong);
  EXPECT_EQ(loaded.Data[-1], 0);
  EXPECT_EQ(loaded.Data[5], -32768);
}

TEST(XMInstruments, SixteenBitStereoDataIsHalvedTwiceIntoFrames) {
  std::vector<std::int16_t> left(1000), right(1000);
  for (int k = 0; k < 1000; ++k) {
    left[k] = static_cast<std::int16_t>(k * 30);
    right[k] = static_cast<std::int16_t>(-k * 7);
  }
  TXMSampleWriter sample;
  sample.Data = Joined({Delta16(left), Delta16(right)});
  sample.Type = 0x31;
  sample.LoopStart = 400;
  sample.LoopLength = 800;
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, WithSamples({sample}).Build()));
  const TTarnXMSample& loaded = SampleOf(module, 1, 0);
  EXPECT_EQ(loaded.Bits, 16);
  EXPECT_EQ(loaded.Channels, 2);
  EXPECT_EQ(loaded.Length, 1000);
  EXPECT_EQ(loaded.LoopStart, 100);
  EXPECT_EQ(loaded.LoopLength, 200);
  EXPECT_EQ(loaded.Data[2 * 999], 999 * 30);
  EXPECT_EQ(loaded.Data[2 * 999 + 1], -999 * 7);
  EXPECT_EQ(loaded.Data[2 * 300], loaded.Data[2 * 100]);  // the loop end holds the loop start
}

TEST(XMInstruments, LoopsAreFittedInsideTheSample) {
  struct TCase {
    TXMSampleWriter Sample;
    bool Loop;
    std::int32_t Length, LoopStart, LoopLength;
  };
  const std::vector<TCase> cases{
      {Looped(120, 100, 50), true, 120, 100, 20},
      {Looped(120, 120, 10), false, 120, 0, 0},
      // In 32 bits 100 + 0xFFFFFFF0 wraps below the length.
      {Looped(120, 100, 0xFFFFFFF0), true, 120, 100, 20},
      {Looped(120, 50, 0), false, 120, 50, 0},
      // One byte of loop in 16-bit data halves to nothing.
      {Looped(8, 2, 1, 0x11), false, 4, 1, 0},
      // A loop ending on an odd byte of 16-bit stereo data.
      {Looped(16, 8, 8, 0x31), true, 4, 2, 2},
      {Looped(16, 14, 2, 0x31), false, 4, 3, 0},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    TTarnXMModule module;
    ASSERT_TRUE(Load(module, WithSamples({cases[i].Sample}).Build()));
    const TTarnXMSample& sample = SampleOf(module, 1, 0);
    EXPECT_EQ(sample.Loop, cases[i].Loop) << i;
    EXPECT_EQ(sample.Length, cases[i].Length) << i;
    EXPECT_EQ(sample.LoopStart, cases[i].LoopStart) << i;
    EXPECT_EQ(sample.LoopLength, cases[i].LoopLength) << i;
    EXPECT_TRUE(sample.Loop || !sample.PingPong) << i;
  }
}

TEST(XMInstruments, LengthsAreCutToTheBytesPresent) {
  TXMSampleWriter huge = Looped(10, 0, 0xFFFFFF00);
  huge.Length = 0xFFFFFFFF;
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, WithSamples({huge}).Build()));
  const TTarnXMSample& sample = SampleOf(module, 1, 0);
  EXPECT_EQ(sample.Length, 10);
  EXPECT_EQ(sample.LoopLength, 10);

  TXMSampleWriter tooShortForAFrame;
  tooShortForAFrame.Data = {7};
  tooShortForAFrame.Type = 0x10;
  ASSERT_TRUE(Load(module, WithSamples({tooShortForAFrame}).Build()));
  EXPECT_EQ(SampleOf(module, 1, 0).Length, 0);
  EXPECT_EQ(SampleOf(module, 1, 0).Data, nullptr);
}

TXMSampleWriter ADPCMSample(std::uint32_t values) {
  TXMSampleWriter sample;
  sample.Reserved = 0xAD;
  sample.Length = values;
  for (int k = 0; k < 16; ++k) sample.Data.push_back(static_cast<std::uint8_t>(k < 8 ? k : k - 16));
  // Indices 1 and 15 (+1 and -1), then 2 and 0.
  sample.Data.push_back(0xF1);
  sample.Data.push_back(0x02);
  sample.Data.resize(16 + (values + 1) / 2, 0);
  return sample;
}

TEST(XMInstruments, ADPCMDataIsDecodedAndSteppedOverByItsPackedSize) {
  TXMSampleWriter next;
  next.Data = Delta8({5, 6});
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, WithSamples({ADPCMSample(3), next}).Build()));
  const TTarnXMSample& adpcm = SampleOf(module, 1, 0);
  EXPECT_TRUE(adpcm.ADPCM);
  EXPECT_EQ(Values(adpcm), (std::vector<int>{256, 0, 512}));
  EXPECT_EQ(Values(SampleOf(module, 1, 1)), (std::vector<int>{5 * 256, 6 * 256}));

  TXMSampleWriter sixteenBit = ADPCMSample(4);
  sixteenBit.Type = 0x10;
  ASSERT_TRUE(Load(module, WithSamples({sixteenBit}).Build()));
  EXPECT_FALSE(SampleOf(module, 1, 0).ADPCM);
}

TEST(XMInstruments, OldLayoutReadsSampleDataAfterThePatterns) {
  for (const std::uint16_t version : {std::uint16_t{0x0102}, std::uint16_t{0x0103}}) {
    TXMSampleWriter first;
    first.Data = Delta8({1, 2, 3});
    TXMSampleWriter second;
    second.Data = Delta16({-300, 300});
    second.Type = 0x10;
    TXMWriter writer = WithSamples({first, second}, version);
    TXMInstrumentWriter other;
    TXMSampleWriter third;
    third.Data = Delta8({9});
    other.Samples.push_back(third);
    writer.Instruments.push_back(other);
    writer.Channels = 1;
    writer.Patterns.push_back(XMPattern(1, XMCell(49, 2)));
    TTarnXMModule module;
    ASSERT_TRUE(Load(module, writer.Build())) << version;
    EXPECT_EQ(module.Song->Patterns[0].GetNote(0, 0).Instrument, 2);
    EXPECT_EQ(Values(SampleOf(module, 1, 0)), (std::vector<int>{256, 512, 768}));
    EXPECT_EQ(Values(SampleOf(module, 1, 1)), (std::vector<int>{-300, 300}));
    EXPECT_EQ(Values(SampleOf(module, 2, 0)), (std::vector<int>{9 * 256}));
  }
}

TEST(XMInstruments, SamplesBeyond256AreDroppedButTheirDataSteppedOver) {
  std::vector<TXMSampleWriter> samples(300);
  for (std::size_t k = 0; k < samples.size(); ++k) samples[k].Data = {static_cast<std::uint8_t>(k % 100)};
  TXMWriter writer = WithSamples(samples);
  TXMInstrumentWriter next;
  next.Name = "next";
  writer.Instruments.push_back(next);
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(Values(SampleOf(module, 1, 255)), (std::vector<int>{55 * 256}));
  EXPECT_EQ(module.Song->Instruments[2]->Name, "next");
}

}  // namespace
