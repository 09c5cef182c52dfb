// The text score: cells in tracker notation, tracks laid end to end into
// patterns, instruments as synthesiser parameters, and the errors a
// composer needs to find a slip.
#include <gtest/gtest.h>

#include "tools/music/cell_notation.h"
#include "tools/music/pattern_layout.h"
#include "tools/music/score_parser.h"
#include "tools/music/song_builder.h"

namespace {

const char* const SmallScore = R"(# a comment
title "small song"
channels lead bass
speed 4
tempo 140
restart 1
flags extended-filter-range
macro fixed 91 F0F00210
message
  line one
  line two
end
instrument 02 "chip"   # numbered in hex
  synth chip root=C-5 period=16 level=0.5
  bits 8
  volume 40
  panning 200
  volume-envelope 0:64 4:32 sustain=1
  panning-envelope 0:0 8:64 16:0 loop=0-2
  fadeout 300
  auto-vibrato square sweep=5 depth=3 rate=7
end
track riff 4
  0  C-4 02 40 037
  2  ===
end
track low 2
  1  D#2 02 M4 \20
end
pattern verse 8
  lead riff riff+12
  bass _5 low-12
end
order verse verse
)";

TScore Parse(const std::string& text) {
  TScoreParseResult result = ParseScore(text);
  EXPECT_EQ(result.Error, "");
  return result.Score;
}

std::string ErrorOf(const std::string& text) { return ParseScore(text).Error; }

}  // namespace

TEST(CellNotation, ReadsEveryFieldForm) {
  std::uint8_t note = 0, value = 0, effect = 0, parameter = 0;
  ASSERT_TRUE(ParseNote("C-4", note));
  EXPECT_EQ(note, 49);
  ASSERT_TRUE(ParseNote("B-7", note));
  EXPECT_EQ(note, 96);
  ASSERT_TRUE(ParseNote("===", note));
  EXPECT_EQ(note, 97);
  EXPECT_FALSE(ParseNote("H-4", note));
  EXPECT_FALSE(ParseNote("C-8", note));
  ASSERT_TRUE(ParseInstrument("1F", value));
  EXPECT_EQ(value, 0x1F);
  EXPECT_FALSE(ParseInstrument("00", value));
  ASSERT_TRUE(ParseVolumeColumn("40", value));
  EXPECT_EQ(value, 0x50);
  EXPECT_FALSE(ParseVolumeColumn("41", value));
  const std::pair<const char*, int> volumeEffects[] = {{"-3", 0x63}, {"+3", 0x73}, {"D3", 0x83}, {"U3", 0x93},
                                                       {"S3", 0xA3}, {"V3", 0xB3}, {"P3", 0xC3}, {"L3", 0xD3},
                                                       {"R3", 0xE3}, {"MF", 0xFF}};
  for (const auto& [text, want] : volumeEffects) {
    ASSERT_TRUE(ParseVolumeColumn(text, value)) << text;
    EXPECT_EQ(value, want) << text;
  }
  ASSERT_TRUE(ParseEffect("Z7F", effect, parameter));
  EXPECT_EQ(effect, EffectNumber(TTarnXMEffect::MidiMacro));
  EXPECT_EQ(parameter, 0x7F);
  ASSERT_TRUE(ParseEffect("\\40", effect, parameter));
  EXPECT_EQ(effect, EffectNumber(TTarnXMEffect::SmoothMidiMacro));
  ASSERT_TRUE(ParseEffect("R92", effect, parameter));
  EXPECT_EQ(effect, EffectNumber(TTarnXMEffect::MultiRetrigger));
  EXPECT_FALSE(ParseEffect("A0G", effect, parameter));
}

TEST(CellNotation, FormatsWhatItReads) {
  for (const char* text : {"C#4 02 40 037", "=== .. .. ...", "... .. M4 \\20", "B-7 FF -F Z80", "... .. P0 E61"}) {
    const std::string cell = text;
    TXmCell parsed;
    ASSERT_TRUE(ParseNote(cell.substr(0, 3), parsed.Note));
    ASSERT_TRUE(ParseInstrument(cell.substr(4, 2), parsed.Instrument));
    ASSERT_TRUE(ParseVolumeColumn(cell.substr(7, 2), parsed.VolumeColumn));
    ASSERT_TRUE(ParseEffect(cell.substr(10, 3), parsed.Effect, parsed.EffectParameter));
    EXPECT_EQ(FormatCell(parsed), cell);
  }
}

TEST(Score, ReadsSettingsInstrumentsTracksAndPatterns) {
  const TScore score = Parse(SmallScore);
  EXPECT_EQ(score.Title, "small song");
  EXPECT_EQ(score.ChannelNames, (std::vector<std::string>{"lead", "bass"}));
  EXPECT_EQ(score.Speed, 4);
  EXPECT_EQ(score.Tempo, 140);
  EXPECT_EQ(score.Restart, 1);
  EXPECT_TRUE(score.ExtendedFilterRange);
  EXPECT_EQ(score.Message, "line one\nline two");
  EXPECT_EQ(score.Macros.at(25 + 0x11), "F0F00210");
  ASSERT_EQ(score.Instruments.size(), 1u);
  const TScoreInstrument& chip = score.Instruments[0];
  EXPECT_EQ(chip.Number, 2);
  EXPECT_EQ(chip.Synth, "chip");
  EXPECT_EQ(chip.SynthParams.at("period"), "16");
  EXPECT_EQ(chip.Bits, 8);
  EXPECT_EQ(chip.Panning, 200);
  EXPECT_EQ(chip.VolumeEnvelope.Points.size(), 2u);
  EXPECT_TRUE(chip.VolumeEnvelope.SustainEnabled);
  EXPECT_TRUE(chip.PanningEnvelope.LoopEnabled);
  EXPECT_EQ(chip.PanningEnvelope.LoopEnd, 2);
  EXPECT_EQ(chip.FadeOut, 300);
  EXPECT_EQ(chip.VibratoType, 1);
  EXPECT_EQ(chip.VibratoRate, 7);
  EXPECT_EQ(score.Orders, (std::vector<std::string>{"verse", "verse"}));
}

TEST(Score, PatternsLayTracksEndToEndTransposed) {
  const TScore score = Parse(SmallScore);
  const TPatternLayout layout = LayOutPattern(score, score.Patterns[0]);
  ASSERT_EQ(layout.Error, "");
  ASSERT_EQ(layout.Cells.size(), 16u);
  const auto cell = [&](int row, int channel) { return FormatCell(layout.Cells[row * 2 + channel]); };
  EXPECT_EQ(cell(0, 0), "C-4 02 40 037");
  EXPECT_EQ(cell(2, 0), "=== .. .. ...");  // key-offs are never transposed
  EXPECT_EQ(cell(4, 0), "C-5 02 40 037");
  EXPECT_EQ(cell(6, 0), "=== .. .. ...");
  EXPECT_EQ(cell(6, 1), "D#1 02 M4 \\20");
  EXPECT_EQ(cell(5, 1), "... .. .. ...");
  EXPECT_EQ(cell(7, 0), "... .. .. ...");
}

TEST(Score, AnEchoPlaysItsTrackLateOnAnotherInstrumentCutAtThePatternsEnd) {
  const TScore score = Parse(std::string(SmallScore) +
                             "pattern echoes 4\n  lead riff@05>1 riff\n  bass low-12@1F>3 low-12@1F>1 _3\nend\n");
  const TPatternLayout layout = LayOutPattern(score, score.Patterns[1]);
  ASSERT_EQ(layout.Error, "");
  const auto cell = [&](int row, int channel) { return FormatCell(layout.Cells[row * 2 + channel]); };
  EXPECT_EQ(cell(0, 0), "C-4 02 40 037");
  EXPECT_EQ(cell(1, 0), "C-4 05 40 037");
  EXPECT_EQ(cell(2, 0), "=== .. .. ...");
  EXPECT_EQ(cell(3, 0), "=== .. .. ...");
  EXPECT_EQ(cell(2, 1), "D#1 1F M4 \\20");  // the first echo's cell fell on row 4, past the end
  EXPECT_EQ(cell(3, 1), "... .. .. ...");
  for (const char* piece : {"riff@05", "riff@5>", "riff@GG>2", "riff@05>0", "riff@81>2", "@05>2"})
    EXPECT_NE(ParseScore(std::string(SmallScore) + "pattern bad 4\n  lead " + piece + "\nend\n").Error, "") << piece;
}

TEST(Score, BuildsTheSongItDescribes) {
  const TSongBuildResult built = BuildSong(Parse(SmallScore));
  ASSERT_EQ(built.Error, "");
  const TXmSong& song = built.Song;
  EXPECT_EQ(song.Channels, 2);
  EXPECT_EQ(song.Orders, (std::vector<std::uint8_t>{0, 0}));
  EXPECT_EQ(song.Patterns[0].Name, "verse");
  ASSERT_EQ(song.Instruments.size(), 2u);  // instrument 1 stays empty
  EXPECT_TRUE(song.Instruments[0].Samples.empty());
  const TXmSample& sample = song.Instruments[1].Samples.at(0);
  EXPECT_FALSE(sample.SixteenBit);
  EXPECT_EQ(sample.Volume, 40);
  EXPECT_EQ(sample.Loop, TXmLoop::Forward);
  EXPECT_EQ(song.Macros.size(), static_cast<std::size_t>(XmMacroCount));
  EXPECT_EQ(song.Macros[9], "F0F000z");  // defaults stay where the score sets nothing
  EXPECT_EQ(song.Macros[25 + 0x11], "F0F00210");
}

TEST(Score, ErrorsNameTheLineAndTheSlip) {
  const std::string head = "channels a b\n";
  EXPECT_EQ(ErrorOf(head + "track t 4\n  4 C-4\nend\n"), "line 3: row '4' lies outside the track's 4 rows");
  EXPECT_EQ(ErrorOf(head + "track t 4\n  0 H-4\nend\n"), "line 3: 'H-4' is not a note");
  EXPECT_EQ(ErrorOf(head + "track t 4\n  0 C-4 01 50\nend\n"), "line 3: '50' is not a volume column");
  EXPECT_EQ(ErrorOf(head + "track t 4\n  0 C-4\n  0 D-4\nend\n"), "line 4: row 0 is written twice");
  EXPECT_EQ(ErrorOf(head + "track t 4\n  0 C-4\n"), "line 2: the block has no 'end'");
  EXPECT_EQ(ErrorOf(head + "pattern p 4\n  c t\nend\n"), "line 3: 'c' is not a channel");
  EXPECT_EQ(ErrorOf(head + "tempo 20\n"), "line 2: '20' is not a number in 32..255");
  EXPECT_EQ(ErrorOf(head + "pattern p 4\nend\norder p q\n"), "the order list names no pattern 'q'");
  EXPECT_EQ(ErrorOf(head + "instrument 01 \"x\"\n  synth kick\n  volume-envelope 0:65\nend\n"),
            "line 4: an envelope point is tick:value with a value of 0..64");

  const TScore longTrack = Parse(head + "track t 6\nend\npattern p 4\n  a t\nend\norder p\n");
  EXPECT_EQ(LayOutPattern(longTrack, longTrack.Patterns[0]).Error,
            "pattern 'p' (line 4) runs channel 'a' to 6 rows, past its 4");
  const TScore missing = Parse(head + "pattern p 4\n  b nothing\nend\norder p\n");
  EXPECT_EQ(LayOutPattern(missing, missing.Patterns[0]).Error, "pattern 'p' (line 2) uses no track 'nothing'");
  const TScore high = Parse(head + "track t 1\n  0 B-7\nend\npattern p 4\n  a t+1\nend\norder p\n");
  EXPECT_EQ(LayOutPattern(high, high.Patterns[0]).Error, "pattern 'p' (line 5) moves a note of 't' out of C-0..B-7");
}

TEST(Score, MisspeltSynthParametersAreErrors) {
  const std::string head = "channels a\npattern p 1\nend\norder p\ninstrument 01 \"x\"\n";
  EXPECT_EQ(BuildSong(Parse(head + "  synth kick decay=0.3 decya=0.2\nend\n")).Error,
            "instrument 1 (line 5): the kick synth has no parameter 'decya'");
  EXPECT_EQ(BuildSong(Parse(head + "  synth kick decay=fast\nend\n")).Error,
            "instrument 1 (line 5): decay=fast is not a number");
  EXPECT_EQ(BuildSong(Parse(head + "  synth organ\nend\n")).Error, "instrument 1 (line 5) names no synth 'organ'");
}

TEST(Score, PatternsPlayOnlyInstrumentsTheScoreDefines) {
  const std::string song =
      "channels a\ninstrument 02 \"x\"\n  synth chip\nend\ntrack t 1\n  0 C-4 03\nend\n"
      "pattern p 1\n  a t\nend\norder p\n";
  EXPECT_EQ(BuildSong(Parse(song)).Error, "pattern 'p' plays instrument 3, which the score does not define");
}
