#include "player/mod_loader.h"

#include <gtest/gtest.h>

#include <vector>

#include "player/module.h"
#include "tests/player/load_bytes.h"
#include "tools/xm_writer/mod_writer.h"

namespace {

// "M.K." with order entries 0, 1, 0 and two patterns.
TMODWriter TwoPatterns() {
  TMODWriter writer;
  writer.Title = "tune";
  writer.SongLength = 3;
  writer.Orders[0] = 0;
  writer.Orders[1] = 1;
  writer.Orders[2] = 0;
  writer.AddPattern();
  writer.AddPattern();
  writer.Samples.push_back({16, 0, 48, 0, 1, std::nullopt});
  return writer;
}

TEST(MODLoader, LoadsPatternsSamplesAndPanning) {
  TMODWriter writer = TwoPatterns();
  writer.SetCell(1, 63, 3, 31, 428, 3, 0x20);
  const TBytes bytes = writer.Build();
  ASSERT_EQ(bytes.size(), 1084u + 2 * 1024 + 32);
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, bytes));
  EXPECT_EQ(module.Song->Format, TTarnXMFormat::MOD);
  EXPECT_EQ(module.Song->Signature, "M.K.");
  EXPECT_EQ(module.Song->Name, "tune");
  EXPECT_EQ(module.Song->NumChannels, 4);
  EXPECT_EQ(module.Song->NumPatterns, 2);
  EXPECT_EQ(module.Song->SongLength, 3);
  EXPECT_FALSE(module.Song->LinearFrequency);
  EXPECT_EQ(module.Song->InitialSpeed, 6);
  EXPECT_EQ(module.Song->InitialTempo, 125);
  EXPECT_EQ(module.Song->Patterns[1].Rows, 64);
  EXPECT_EQ(module.Song->Patterns[1].GetNote(63, 3), (TTarnXMPatternNote{49, 31, 0, 3, 0x20}));
  EXPECT_EQ(module.Song->Patterns[2].Rows, 0);
  const std::vector<int> panning{0, 255, 255, 0, 128};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(module.Song->ChannelSettings[c].DefaultPanning, panning[c]) << c;

  ASSERT_NE(module.Song->Instruments[31], nullptr);
  const TTarnXMInstrument& instrument = *module.Song->Instruments[1];
  EXPECT_EQ(instrument.FadeOut, 65536);
  const TTarnXMSample& sample = *instrument.Samples[0];
  EXPECT_EQ(sample.Length, 32);
  EXPECT_EQ(sample.Volume, 48);
  EXPECT_FALSE(sample.UsePanning);
  EXPECT_FALSE(sample.Loop);  // a loop of one word is no loop
  EXPECT_EQ(sample.Data[5], 5 * 256);
  EXPECT_EQ(sample.Data[32], 31 * 256);
}

TEST(MODLoader, ASizeThatDoesNotMatchTheLayoutIsRefused) {
  TBytes bytes = TwoPatterns().Build();
  bytes.push_back(0);
  TTarnXMModule module;
  EXPECT_FALSE(Load(module, bytes));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::MODSizeMismatch);
  EXPECT_FALSE(module.Loaded);
  EXPECT_EQ(module.Song->Instruments[1], nullptr);
  bytes.resize(bytes.size() - 2);
  EXPECT_FALSE(Load(module, bytes));
  bytes.resize(1200);
  EXPECT_FALSE(Load(module, bytes));
}

TEST(MODLoader, FourChannelSignatureSizedForEightChannelsHasEight) {
  TMODWriter writer = TwoPatterns();
  writer.Channels = 8;
  writer.Patterns.clear();
  writer.AddPattern();
  writer.AddPattern();
  writer.SetCell(0, 0, 7, 1, 856, 0, 0);
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->NumChannels, 8);
  EXPECT_EQ(module.Song->Patterns[0].GetNote(0, 7).Note, 37);
  EXPECT_EQ(module.Song->ChannelSettings[4].DefaultPanning, 0);
  EXPECT_EQ(module.Song->ChannelSettings[7].DefaultPanning, 0);
}

TEST(MODLoader, SignaturesNameTheChannelCount) {
  const std::vector<std::pair<std::string, int>> table{
      {"M.K.", 4}, {"M!K!", 4},  {"M&K!", 4},  {"N.T.", 4}, {"OCTA", 8}, {"OKTA", 8},  {"CD81", 8}, {"WOW!", 8},
      {"6CHN", 6}, {"16CH", 16}, {"16CN", 16}, {"FLT8", 8}, {"TDZ3", 3}, {"EX12", 12}, {"EXO4", 4}, {"99CH", 99}};
  for (const auto& [signature, channels] : table) EXPECT_EQ(MODSignatureChannels(signature), channels) << signature;
  EXPECT_EQ(MODSignatureChannels("FLT'"), 0);
  EXPECT_EQ(MODSignatureChannels("abcd"), std::nullopt);
  EXPECT_EQ(MODSignatureChannels("TDZ"), std::nullopt);
}

TEST(MODLoader, OddChannelCountsAreLoadedOrRefused) {
  TMODWriter six;
  six.Signature = "6CHN";
  six.Channels = 6;
  six.AddPattern();
  six.SetCell(0, 1, 5, 2, 214, 0xC, 0x40);
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, six.Build()));
  EXPECT_EQ(module.Song->NumChannels, 6);
  EXPECT_EQ(module.Song->Patterns[0].GetNote(1, 5), (TTarnXMPatternNote{61, 2, 0, 0xC, 0x40}));
  EXPECT_EQ(module.Song->ChannelSettings[3].DefaultPanning, 0);
  EXPECT_EQ(module.Song->ChannelSettings[4].DefaultPanning, 0);
  EXPECT_EQ(module.Song->ChannelSettings[5].DefaultPanning, 255);

  for (const std::string signature : {"TDZ0", "0CHN", "FLT'", "EX%%", "!!CH"}) {
    TMODWriter odd;
    odd.Signature = signature;
    odd.AddPattern();
    EXPECT_FALSE(Load(module, odd.Build())) << signature;
    EXPECT_EQ(module.LoadError, TTarnXMLoadError::BadChannelCount) << signature;
  }

  TMODWriter packed;
  packed.Signature = "PP20";
  EXPECT_FALSE(Load(module, packed.Build()));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::PackedMOD);
}

TEST(MODLoader, WithoutASignatureItIsTheFifteenSampleForm) {
  TMODWriter writer;
  writer.Signature = "";
  writer.SongLength = 2;
  writer.Orders[1] = 1;
  writer.AddPattern();
  writer.AddPattern();
  writer.SetCell(0, 0, 0, 15, 1712, 0xF, 3);
  writer.Samples.resize(15);
  writer.Samples[14] = {2, 0, 64, 0, 1, TBytes{0x80, 0x7F, 0, 0}};
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->NumChannels, 4);
  EXPECT_EQ(module.Song->NumPatterns, 2);
  EXPECT_EQ(module.Song->SongLength, 2);
  EXPECT_EQ(module.Song->Signature, "");
  EXPECT_EQ(module.Song->Patterns[0].GetNote(0, 0), (TTarnXMPatternNote{25, 15, 0, 0xF, 3}));
  EXPECT_EQ(module.Song->Instruments[16], nullptr);
  EXPECT_EQ(module.Song->Instruments[15]->Samples[0]->Data[0], -32768);
  EXPECT_EQ(module.Song->Instruments[15]->Samples[0]->Data[1], 32512);
}

TEST(MODLoader, PatternCountFollowsTheOrderList) {
  TMODWriter writer = TwoPatterns();
  writer.Orders[3] = 200;  // entries of 128 and more name no pattern
  TTarnXMModule module;
  EXPECT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->Orders[3], 200);
  // An order list that names more patterns than the file holds.
  writer.Orders[3] = 5;
  EXPECT_FALSE(Load(module, writer.Build()));
}

TEST(MODLoader, FineTunesPeriodsAndRestart) {
  const std::vector<std::pair<int, int>> fineTunes{{0, 0}, {7, 112}, {8, -128}, {15, -16}, {0x1F, -16}};
  for (const auto& [byte, fineTune] : fineTunes) EXPECT_EQ(MODFineTune(static_cast<std::uint8_t>(byte)), fineTune);
  const std::vector<std::pair<int, int>> periods{{428, 49}, {856, 37}, {1712, 25}, {4000, 25}, {113, 72},
                                                 {56, 84},  {55, 0},   {0, 0},     {427, 50}};
  for (const auto& [period, note] : periods) EXPECT_EQ(PeriodToNote(period), note) << period;

  TMODWriter writer = TwoPatterns();
  writer.Samples[0].FineTune = 8;
  writer.SongLength = 20;
  writer.Restart = 127;
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->RestartPosition, 0);
  EXPECT_EQ(module.Song->Instruments[1]->Samples[0]->FineTune, -128);
  writer.Restart = 20;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->RestartPosition, 0);
  writer.Restart = 19;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->RestartPosition, 19);
}

TEST(MODLoader, LoopsAreFittedInsideTheSample) {
  struct TCase {
    std::uint16_t LoopStart, LoopLength;
    bool Loop;
    std::int32_t Start, Length;
  };
  const std::vector<TCase> cases{
      {10, 1, false, 20, 2}, {40, 8, false, 0, 0}, {20, 30, true, 40, 24}, {4, 8, true, 8, 16}, {31, 4, false, 62, 2}};
  for (const TCase& loop : cases) {
    TMODWriter writer = TwoPatterns();
    writer.Samples[0] = {32, 0, 64, loop.LoopStart, loop.LoopLength, std::nullopt};
    TTarnXMModule module;
    ASSERT_TRUE(Load(module, writer.Build()));
    const TTarnXMSample& sample = *module.Song->Instruments[1]->Samples[0];
    EXPECT_EQ(sample.Loop, loop.Loop) << loop.LoopStart;
    EXPECT_EQ(sample.LoopStart, loop.Start) << loop.LoopStart;
    EXPECT_EQ(sample.LoopLength, loop.Length) << loop.LoopStart;
    if (sample.Loop) {
      EXPECT_EQ(sample.Data[sample.LoopStart + sample.LoopLength], sample.Data[sample.LoopStart]);
    }
  }
}

TEST(MODLoader, ADPCMPackedSamples) {
  TMODWriter writer = TwoPatterns();
  TBytes data{'A', 'D', 'P', 'C', 'M'};
  for (int k = 0; k < 16; ++k) data.push_back(static_cast<std::uint8_t>(k));
  data.push_back(0x21);
  data.resize(32, 0);
  writer.Samples[0].Data = data;
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  const TTarnXMSample& sample = *module.Song->Instruments[1]->Samples[0];
  EXPECT_EQ(sample.Data[0], 256);
  EXPECT_EQ(sample.Data[1], 768);
  EXPECT_EQ(sample.Data[31], 768);
}

}  // namespace
