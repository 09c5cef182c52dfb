#include <gtest/gtest.h>

#include "player/module.h"
#include "tests/player/load_bytes.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

// One pattern of the given rows and packed cells.
TXMWriter OnePattern(std::uint16_t rows, TBytes packed, std::uint16_t channels = 2) {
  TXMWriter writer;
  writer.Channels = channels;
  writer.Patterns.push_back(XMPattern(rows, std::move(packed)));
  return writer;
}

TEST(XMLoader, ReadsTheHeaderFields) {
  TXMWriter writer;
  writer.Title = "  Song\x01 ";
  writer.Version = 0x0104;
  writer.SongLength = 3;
  writer.Restart = 2;
  writer.Channels = 12;
  writer.Flags = 0x1001;
  writer.Speed = 0x0106;
  writer.Tempo = 0;
  writer.Orders[0] = 4;
  writer.Orders[255] = 7;
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_TRUE(module.Loaded);
  EXPECT_EQ(module.Song->Format, TTarnXMFormat::XM);
  EXPECT_EQ(module.Song->FormatVersion, 0x0104);
  EXPECT_EQ(module.Song->Name, "Song");
  EXPECT_EQ(module.Song->SongLength, 3);
  EXPECT_EQ(module.Song->RestartPosition, 2);
  EXPECT_EQ(module.Song->NumChannels, 12);
  EXPECT_TRUE(module.Song->LinearFrequency);
  EXPECT_TRUE(module.Song->ExtendedFilterRange);
  EXPECT_EQ(module.Song->InitialSpeed, 6);
  EXPECT_EQ(module.Song->InitialTempo, 125);
  EXPECT_EQ(module.State.Speed, 6);
  EXPECT_EQ(module.State.Tempo, 125);
  EXPECT_EQ(module.Song->Orders[0], 4);
  EXPECT_EQ(module.Song->Orders[255], 7);
  for (int c = 0; c < 12; ++c) EXPECT_EQ(module.Song->ChannelSettings[c].DefaultPanning, 128);
}

TEST(XMLoader, ClampsTheSongLengthAndDropsARestartPastTheSong) {
  TXMWriter writer;
  writer.Flags = 0;
  writer.SongLength = 300;
  writer.Restart = 300;
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->SongLength, 256);
  EXPECT_EQ(module.Song->RestartPosition, 0);
  EXPECT_FALSE(module.Song->LinearFrequency);
  writer.SongLength = 5;
  writer.Restart = 5;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->RestartPosition, 0);
}

TEST(XMLoader, DecodesPackedAndUnpackedCells) {
  TBytes cells{0x83, 0x31, 0x02, 0x9F, 1, 255, 0x10, 0x0F, 0x20};
  const TBytes unpacked = XMCell(0x25, 3, 0x40, 0x0A, 0x12);
  cells.insert(cells.end(), unpacked.begin(), unpacked.end());
  cells.push_back(0x80);
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, OnePattern(2, cells).Build()));
  const TTarnXMPattern& pattern = module.Song->Patterns[0];
  EXPECT_EQ(pattern.Rows, 2);
  EXPECT_EQ(pattern.Channels, 2);
  EXPECT_EQ(pattern.GetNote(0, 0), (TTarnXMPatternNote{0x31, 2, 0, 0, 0}));
  EXPECT_EQ(pattern.GetNote(0, 1), (TTarnXMPatternNote{1, 0, 0x10, 0x0F, 0x20}));  // instrument 255 is none
  EXPECT_EQ(pattern.GetNote(1, 0), (TTarnXMPatternNote{0x25, 3, 0x40, 0x0A, 0x12}));
  EXPECT_EQ(pattern.GetNote(1, 1), TTarnXMPatternNote());
  EXPECT_EQ(module.Song->NumPatterns, 1);
}

TEST(XMLoader, PatternWithoutDataPlaysItsRowsEmpty) {
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, OnePattern(64, {}).Build()));
  EXPECT_EQ(module.Song->Patterns[0].Rows, 64);
  EXPECT_EQ(module.Song->Patterns[0].GetNote(63, 1), TTarnXMPatternNote());
}

TEST(XMLoader, OldVersionsStoreRowsMinusOneInAShorterHeader) {
  TXMWriter writer = OnePattern(64, EmptyXMCells(128));
  writer.Version = 0x0102;
  writer.Patterns.push_back(XMPattern(3, XMCell(49, 1)));
  writer.Channels = 2;
  writer.Patterns[1].Packed.resize(3 * 2 * 5, 0);
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->Patterns[0].Rows, 64);
  EXPECT_EQ(module.Song->Patterns[1].Rows, 3);
  EXPECT_EQ(module.Song->Patterns[1].GetNote(0, 0).Note, 49);
}

TEST(XMLoader, PatternsBeyondTheStoredRowsOrTheTableAreSteppedOver) {
  TXMWriter writer = OnePattern(1000, EmptyXMCells(2000));
  writer.Patterns.push_back(XMPattern(1, XMCell(12, 1)));
  writer.Patterns[1].Packed.push_back(0x80);
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, writer.Build()));
  EXPECT_EQ(module.Song->Patterns[0].Rows, 1000);
  EXPECT_TRUE(module.Song->Patterns[0].Notes.empty());
  EXPECT_EQ(module.Song->Patterns[1].GetNote(0, 0).Note, 12);

  TXMWriter many;
  many.Channels = 1;
  for (int p = 0; p < 300; ++p) many.Patterns.push_back(XMPattern(1, XMCell(static_cast<std::uint8_t>(p % 96 + 1))));
  TXMInstrumentWriter instrument;
  instrument.Name = "after the patterns";
  many.Instruments.push_back(instrument);
  ASSERT_TRUE(Load(module, many.Build()));
  EXPECT_EQ(module.Song->NumPatterns, 256);
  EXPECT_EQ(module.Song->Patterns[255].GetNote(0, 0).Note, 255 % 96 + 1);
  ASSERT_NE(module.Song->Instruments[1], nullptr);
  EXPECT_EQ(module.Song->Instruments[1]->Name, "after the patterns");
}

// A pattern's cells come from its own packed bytes only: where they run out
// before its rows do, the rest of its cells are empty, and the next pattern's
// header is not read as cells.
TEST(XMLoader, PackedDataShorterThanItsRowsLeavesTheRestOfThePatternEmpty) {
  for (const std::uint16_t version : {std::uint16_t{0x0104}, std::uint16_t{0x0102}}) {
    TXMWriter writer = OnePattern(2, EmptyXMCells(4));
    writer.Version = version;
    TBytes firstRow = XMCell(49, 1);
    firstRow.push_back(0x80);
    writer.Patterns.push_back(XMPattern(4, firstRow));
    TBytes next = XMCell(61, 2, 0x30, 0x0C, 0x20);
    next.push_back(0x80);
    writer.Patterns.push_back(XMPattern(1, next));
    TTarnXMModule module;
    ASSERT_TRUE(Load(module, writer.Build())) << version;
    const TTarnXMSong& song = *module.Song;
    EXPECT_EQ(song.Patterns[1].Rows, 4) << version;
    EXPECT_EQ(song.Patterns[1].GetNote(0, 0), (TTarnXMPatternNote{49, 1, 0, 0, 0})) << version;
    for (int row = 1; row < 4; ++row)
      for (int channel = 0; channel < 2; ++channel)
        EXPECT_EQ(song.Patterns[1].GetNote(row, channel), TTarnXMPatternNote()) << version << " " << row;
    EXPECT_EQ(song.Patterns[2].Rows, 1) << version;
    EXPECT_EQ(song.Patterns[2].GetNote(0, 0), (TTarnXMPatternNote{61, 2, 0x30, 0x0C, 0x20})) << version;
    EXPECT_EQ(song.Patterns[2].GetNote(0, 1), TTarnXMPatternNote()) << version;
  }
}

TEST(XMLoader, MoreThan255ChannelsOrInstrumentsIsNoXM) {
  TXMWriter writer;
  writer.Channels = 256;
  TTarnXMModule module;
  EXPECT_FALSE(Load(module, writer.Build()));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::NotAModule);
  writer.Channels = 4;
  writer.InstrumentCount = 256;
  EXPECT_FALSE(Load(module, writer.Build()));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::NotAModule);
}

TEST(XMLoader, RefusesShortHeadersAndLeavesTheModuleCleared) {
  TXMWriter good;
  good.Title = "good";
  good.Instruments.push_back({});
  TTarnXMModule module;
  ASSERT_TRUE(Load(module, good.Build()));
  ASSERT_NE(module.Song->Instruments[1], nullptr);

  const TBytes bytes = good.Build();
  EXPECT_FALSE(module.LoadFromMemory(bytes.data(), 335));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::TooShort);
  EXPECT_FALSE(module.LoadFromMemory(nullptr, 0));

  TXMWriter patterns = OnePattern(4, {});
  patterns.PatternCount = 2;
  EXPECT_FALSE(Load(module, patterns.Build()));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::TruncatedPatternHeader);

  TXMWriter instruments;
  instruments.InstrumentCount = 2;
  instruments.Instruments.push_back({});
  EXPECT_FALSE(Load(module, instruments.Build()));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::TruncatedInstrumentHeader);

  TXMWriter samples;
  samples.Instruments.push_back({});
  samples.Instruments[0].Name = "lost";
  samples.Instruments[0].SampleCount = 2;
  samples.Instruments[0].Samples.push_back({});
  TBytes cut = samples.Build();
  EXPECT_FALSE(Load(module, cut));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::TruncatedSampleHeader);
  cut.resize(cut.size() - 40 - 100);
  EXPECT_FALSE(Load(module, cut));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::TruncatedInstrumentHeader);

  EXPECT_FALSE(module.Loaded);
  EXPECT_TRUE(module.Song->Name.empty());
  for (const auto& instrument : module.Song->Instruments) EXPECT_EQ(instrument, nullptr);
}

TEST(XMLoader, PositionsPastTheEndReadAsZeros) {
  TXMWriter writer;
  writer.HeaderSize = 0xFFFFFFF0;
  TTarnXMModule module;
  EXPECT_TRUE(Load(module, writer.Build()));
  writer.PatternCount = 1;
  EXPECT_FALSE(Load(module, writer.Build()));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::TruncatedPatternHeader);

  TXMWriter instruments;
  instruments.Instruments.resize(2);
  instruments.Instruments[0].Size = 0xFFFFFFFF;
  EXPECT_FALSE(Load(module, instruments.Build()));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::TruncatedInstrumentHeader);
}

}  // namespace
