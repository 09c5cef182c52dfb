#include "player/module.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/resources.h"
#include "player/output/player.h"
#include "player/render_settings.h"
#include "tests/player/test_song.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

std::string Macro(const TTarnXMSong& song, std::size_t index) {
  const char* slot = song.MidiConfig.data() + index * MacroLength;
  return std::string(slot, MacroLength);
}

std::string Padded(const std::string& text) { return text + std::string(MacroLength - text.size(), '\0'); }

TEST(Module, StartsClearedWithItsChannelsAndDefaultMacros) {
  TTarnXMModule module;
  EXPECT_FALSE(module.Loaded);
  const TTarnXMRenderSettings settings;
  EXPECT_EQ(settings.MasterVolume, 128);
  EXPECT_EQ(settings.RampLength, 128);
  EXPECT_EQ(module.State.GlobalVolume, 64);
  EXPECT_EQ(module.Song->InitialSpeed, 6);
  EXPECT_EQ(module.Song->InitialTempo, 125);
  EXPECT_EQ(module.State.TickCounter, 6);
  EXPECT_TRUE(module.Song->LinearFrequency);
  for (int i = 0; i < TTarnXMSong::MaxChannels; ++i) EXPECT_EQ(module.State.Channels[i].FilterCutoff, 127);
  const TTarnXMSong& song = *module.Song;
  const std::pair<std::size_t, std::string> defaults[] = {
      {0, "FF"}, {1, "FC"},        {2, ""},          {3, "9c n v"},    {4, "9c n 0"},    {8, "Cc p"}, {9, "F0F000z"},
      {10, ""},  {25, "F0F00100"}, {26, "F0F00108"}, {27, "F0F00110"}, {40, "F0F00178"}, {41, ""}};
  for (const auto& [slot, text] : defaults) EXPECT_EQ(Macro(song, slot), Padded(text)) << "slot " << slot;
}

TEST(Module, SetMacroCutsLongTextsAndIgnoresSlotsOutsideTheTable) {
  TTarnXMSong song;
  song.SetMacro(152, std::string(40, 'A'));
  EXPECT_EQ(Macro(song, 152), std::string(32, 'A'));
  const TTarnXMMidiConfig before = song.MidiConfig;
  song.SetMacro(153, "X");
  EXPECT_EQ(song.MidiConfig, before);
}

TEST(Module, ClearEmptiesTheSongAndWhatTheLoaderWroteIntoChannels) {
  const auto song = std::make_shared<TTarnXMSong>();
  TTarnXMInstrument& instrument = song->NewInstrument(3);
  instrument.NewSample(0).AllocateData(100);
  song->Patterns[7].SetSize(64, 4);
  song->Patterns[7].Name = "p";
  song->Orders[5] = 9;
  song->Name = "n";
  song->Comment = "c";
  song->SongLength = 4;
  song->InitialSpeed = 3;
  song->LinearFrequency = false;
  song->ChannelSettings[2].DefaultPanning = 0;
  song->ChannelSettings[2].Name = "lead";
  song->ChannelSettings[2].EffectSlot = 5;
  song->FXData[42].Write("abc", 3);
  song->SetMacro(0, "zz");
  song->MidiConfigLoaded = true;
  TTarnXMModule module;
  module.SetSong(song);
  ASSERT_TRUE(module.Loaded);
  ASSERT_EQ(module.State.Channels[2].Panning, 0);

  module.Clear();
  const TTarnXMSong& cleared = *module.Song;
  EXPECT_EQ(cleared.Instruments[3], nullptr);
  EXPECT_TRUE(cleared.Patterns[7].Notes.empty());
  EXPECT_TRUE(cleared.Patterns[7].Name.empty());
  EXPECT_EQ(cleared.Orders[5], 0);
  EXPECT_TRUE(cleared.Name.empty());
  EXPECT_TRUE(cleared.Comment.empty());
  EXPECT_EQ(cleared.SongLength, 0);
  EXPECT_EQ(module.State.Speed, 6);
  EXPECT_TRUE(cleared.LinearFrequency);
  EXPECT_EQ(module.State.Channels[2].Panning, 128);
  EXPECT_TRUE(cleared.ChannelSettings[2].Name.empty());
  EXPECT_EQ(cleared.ChannelSettings[2].EffectSlot, 0u);
  EXPECT_EQ(cleared.FXData[42].GetSize(), 0);
  EXPECT_EQ(Macro(cleared, 0), Padded("FF"));
  EXPECT_FALSE(cleared.MidiConfigLoaded);
  EXPECT_FALSE(module.Loaded);
}

TEST(Module, ResetRewindsAndRestoresEachChannelsDefaultPanning) {
  const auto song = std::make_shared<TTarnXMSong>();
  song->InitialSpeed = 4;
  song->InitialTempo = 150;
  song->ChannelSettings[1].DefaultPanning = 255;
  TTarnXMModule module;
  module.SetSong(song);
  module.State.OrderPosition = 3;
  module.State.Row = 12;
  TTarnXMChannel& channel = module.State.Channels[1];
  channel.Panning = 10;
  channel.Active = true;
  channel.FilterCutoff = 20;
  channel.VibratoWaveform = 4;
  channel.VibratoPosition = 33;
  channel.TremoloPosition = 21;
  module.Reset();
  EXPECT_EQ(module.State.Speed, 4);
  EXPECT_EQ(module.State.Tempo, 150);
  EXPECT_EQ(module.State.TickCounter, 4);
  EXPECT_EQ(module.State.OrderPosition, 0);
  EXPECT_EQ(module.State.Row, 0);
  EXPECT_EQ(channel.Panning, 255);
  EXPECT_FALSE(channel.Active);
  EXPECT_EQ(channel.FilterCutoff, 127);
  // A rewind leaves nothing behind: even waveforms 4..7, which keep their
  // position from note to note, start again from 0.
  EXPECT_EQ(channel.VibratoWaveform, 0);
  EXPECT_EQ(channel.VibratoPosition, 0);
  EXPECT_EQ(channel.TremoloPosition, 0);
}

TEST(Module, ASongThatEndsOnAJumpStartsAgainAtFullGlobalVolumeAfterAReset) {
  // Row 1 sets the global volume and jumps back to row 0, which has played:
  // the song ends with the global volume at 10.
  TTestSong song(2, 2);
  song.Cell(0, 1, 0, Effect(16, 10));
  song.Cell(0, 1, 1, Effect(11, 0));
  song.Start();
  EXPECT_EQ(song.TicksToEnd(), 2 * 6);
  EXPECT_EQ(song.State().GlobalVolume, 10);
  song.Module().Reset();
  EXPECT_EQ(song.State().GlobalVolume, 64);
  song.Tick();
  EXPECT_EQ(song.State().PlayingRow, 0);
  EXPECT_EQ(song.State().GlobalVolume, 64);
}

// Resources are loaded by the device player, into its renderer.
TEST(Module, LoadsFromTheProgramsResourcesByNameAndType) {
  TXMWriter writer;
  writer.Title = "from resource";
  const TBytes bytes = writer.Build();
  const platform::TResourceSet resources{{"MSX", "#10", bytes}, {"EMPTY", "#10", {}}};
  platform::SetResources(&resources);
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 256, true);
  EXPECT_TRUE(player->LoadFromResource("msx", "#10"));
  EXPECT_EQ(DescribeSong(*player->Renderer.Song()).Title, "from resource");
  EXPECT_FALSE(player->LoadFromResource("msx", "TEXT"));
  EXPECT_EQ(player->LoadError, LoadErrorText(TTarnXMLoadError::ResourceNotFound));
  EXPECT_EQ(player->Renderer.Song(), nullptr);
  EXPECT_FALSE(player->LoadFromResource("EMPTY", "#10"));
  platform::SetResources(nullptr);
}

}  // namespace
