#include <gtest/gtest.h>

#include <string>

#include "player/module.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

TBytes Text(const std::string& text) { return TBytes(text.begin(), text.end()); }

// A song of four channels and two patterns followed by the chunks.
bool LoadWithChunks(TTarnXMModule& module, const TBytes& chunks) {
  TXMWriter writer;
  writer.Patterns.push_back(XMPattern(1, EmptyXMCells(4)));
  writer.Patterns.push_back(XMPattern(1, EmptyXMCells(4)));
  writer.Trailer = chunks;
  const TBytes bytes = writer.Build();
  return module.LoadFromMemory(bytes.data(), bytes.size());
}

TEST(XMChunks, TextEndsEachCarriageReturnWithALineFeed) {
  TTarnXMModule module;
  ASSERT_TRUE(LoadWithChunks(module, XMChunk("text", Text("a\rb"))));
  EXPECT_EQ(module.Song->Comment, "a\r\nb");
}

TEST(XMChunks, NamesEffectSlotsAndStoredChunks) {
  TBytes patternNames = Text(" intro");
  patternNames.resize(32, 0);
  const TBytes secondName = Text("verse");
  patternNames.insert(patternNames.end(), secondName.begin(), secondName.end());
  patternNames.resize(64, 0);
  TBytes channelNames = Text("bass");
  channelNames.resize(40, ' ');
  const TBytes effects{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  TTarnXMModule module;
  ASSERT_TRUE(LoadWithChunks(
      module, Joined({XMChunk("PNAM", patternNames), XMChunk("CNAM", channelNames), XMChunk("CHFX", effects),
                      XMChunk("EQFX", Text("eq")), XMChunk("FX07", Text("seven")), XMChunk("MODU", Text("mod"))})));
  EXPECT_EQ(module.Song->Patterns[0].Name, "intro");
  EXPECT_EQ(module.Song->Patterns[1].Name, "verse");
  EXPECT_EQ(module.Song->ChannelSettings[0].Name, "bass");
  EXPECT_EQ(module.Song->ChannelSettings[1].Name, "");
  EXPECT_EQ(module.Song->ChannelSettings[0].EffectSlot, 1u);
  EXPECT_EQ(module.Song->ChannelSettings[1].EffectSlot, 0xFFFFFFFFu);
  EXPECT_EQ(module.Song->ChannelSettings[2].EffectSlot, 0u);
  EXPECT_EQ(module.Song->EQFXData.GetSize(), 2);
  EXPECT_EQ(module.Song->EQFXData.GetPosition(), 0);
  EXPECT_EQ(module.Song->FXData[7].GetSize(), 5);
  EXPECT_EQ(module.Song->FXData[7].GetMemory()[0], 's');
  EXPECT_EQ(module.Song->MODUData.GetSize(), 3);
}

TEST(XMChunks, MacroTableOnlyFromAChunkOfItsExactSize) {
  const TBytes table(4896, 'x');
  TTarnXMModule module;
  ASSERT_TRUE(LoadWithChunks(module, XMChunk("MIDI", table)));
  EXPECT_TRUE(module.Song->MidiConfigLoaded);
  EXPECT_EQ(module.Song->MidiConfig[4895], 'x');

  ASSERT_TRUE(LoadWithChunks(module, Joined({XMChunk("MIDI", TBytes(100, 'x')), XMChunk("text", Text("after"))})));
  EXPECT_FALSE(module.Song->MidiConfigLoaded);
  EXPECT_EQ(module.Song->MidiConfig[0], 'F');
  EXPECT_EQ(module.Song->Comment, "after");

  // A table cut short by the end of the file leaves the defaults.
  ASSERT_TRUE(LoadWithChunks(module, XMChunk("MIDI", TBytes(1000, 'x'), 4896)));
  EXPECT_FALSE(module.Song->MidiConfigLoaded);
  EXPECT_EQ(module.Song->MidiConfig[0], 'F');
}

TEST(XMChunks, NameChunksOfImpossibleSizesAreSkipped) {
  TTarnXMModule module;
  ASSERT_TRUE(LoadWithChunks(module, Joined({XMChunk("CNAM", TBytes(5 * 20, 'c')), XMChunk("PNAM", TBytes(31, 'p')),
                                             XMChunk("text", Text("reached"))})));
  EXPECT_EQ(module.Song->ChannelSettings[0].Name, "");
  EXPECT_EQ(module.Song->Patterns[0].Name, "");
  EXPECT_EQ(module.Song->Comment, "reached");
}

TEST(XMChunks, AnUnknownIdEndsTheChunks) {
  TTarnXMModule module;
  ASSERT_TRUE(LoadWithChunks(
      module, Joined({XMChunk("text", Text("one")), XMChunk("ZZZZ", Text("?")), XMChunk("MODU", Text("lost"))})));
  EXPECT_EQ(module.Song->Comment, "one");
  EXPECT_EQ(module.Song->MODUData.GetSize(), 0);
}

TEST(XMChunks, LengthsPastTheEndNeverFailTheLoad) {
  TTarnXMModule module;
  ASSERT_TRUE(LoadWithChunks(module, XMChunk("text", Text("cut"), 0xFFFFFFFF)));
  EXPECT_EQ(module.Song->Comment, "cut");
  // 0xFFFFFFF8 plus the 8-byte header wraps to the chunk's own start in 32 bits.
  ASSERT_TRUE(LoadWithChunks(module, Joined({XMChunk("EQFX", Text("eq"), 0xFFFFFFF8), XMChunk("text", Text("x"))})));
  EXPECT_EQ(module.Song->EQFXData.GetSize(), 2 + 8 + 1);  // all that follows
  EXPECT_TRUE(module.Song->Comment.empty());
}

}  // namespace
