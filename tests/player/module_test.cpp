#include "player/module.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/resources.h"
#include "tests/player/module_writer.h"

namespace {

std::string Macro(const TTarnXMModule& module, std::size_t index) {
  const char* slot = module.MidiConfig.data() + index * MacroLength;
  return std::string(slot, MacroLength);
}

std::string Padded(const std::string& text) { return text + std::string(MacroLength - text.size(), '\0'); }

TEST(Module, StartsClearedWithItsChannelsAndDefaultMacros) {
  TTarnXMModule module;
  EXPECT_FALSE(module.Loaded);
  EXPECT_EQ(module.MasterVolume, 128);
  EXPECT_EQ(module.RampLength, 128);
  EXPECT_EQ(module.GlobalVolume, 64);
  EXPECT_EQ(module.InitialSpeed, 6);
  EXPECT_EQ(module.InitialTempo, 125);
  EXPECT_EQ(module.TickCounter, 6);
  EXPECT_TRUE(module.LinearFrequency);
  for (int i = 0; i < TTarnXMModule::MaxChannels; ++i) {
    EXPECT_EQ(module.Channels[i]->Index, i);
    EXPECT_EQ(module.Channels[i]->Module, &module);
    EXPECT_EQ(module.Channels[i]->FilterCutoff, 127);
  }
  EXPECT_EQ(Macro(module, 0), Padded("FF"));
  EXPECT_EQ(Macro(module, 1), Padded("FC"));
  EXPECT_EQ(Macro(module, 2), Padded(""));
  EXPECT_EQ(Macro(module, 3), Padded("9c n v"));
  EXPECT_EQ(Macro(module, 4), Padded("9c n 0"));
  EXPECT_EQ(Macro(module, 8), Padded("Cc p"));
  EXPECT_EQ(Macro(module, 9), Padded("F0F000z"));
  EXPECT_EQ(Macro(module, 10), Padded(""));
  EXPECT_EQ(Macro(module, 25), Padded("F0F00100"));
  EXPECT_EQ(Macro(module, 26), Padded("F0F00108"));
  EXPECT_EQ(Macro(module, 27), Padded("F0F00110"));
  EXPECT_EQ(Macro(module, 40), Padded("F0F00178"));
  EXPECT_EQ(Macro(module, 41), Padded(""));
}

TEST(Module, SetMacroCutsLongTextsAndIgnoresSlotsOutsideTheTable) {
  TTarnXMModule module;
  module.SetMacro(152, std::string(40, 'A'));
  EXPECT_EQ(Macro(module, 152), std::string(32, 'A'));
  const TTarnXMMidiConfig before = module.MidiConfig;
  module.SetMacro(153, "X");
  EXPECT_EQ(module.MidiConfig, before);
}

TEST(Module, ClearEmptiesTheSongAndWhatTheLoaderWroteIntoChannels) {
  TTarnXMModule module;
  TTarnXMInstrument& instrument = module.NewInstrument(3);
  instrument.NewSample(0).AllocateData(100);
  module.Patterns[7].SetSize(64, 4);
  module.Patterns[7].Name = "p";
  module.Orders[5] = 9;
  module.Name = "n";
  module.Comment = "c";
  module.SongLength = 4;
  module.InitialSpeed = 3;
  module.LinearFrequency = false;
  module.Channels[2]->DefaultPanning = 0;
  module.Channels[2]->Name = "lead";
  module.Channels[2]->EffectSlot = 5;
  module.FXData[42].Write("abc", 3);
  module.SetMacro(0, "zz");
  module.MidiConfigLoaded = true;
  module.Loaded = true;
  module.MasterVolume = 200;

  module.Clear();
  EXPECT_EQ(module.Instruments[3], nullptr);
  EXPECT_TRUE(module.Patterns[7].Notes.empty());
  EXPECT_TRUE(module.Patterns[7].Name.empty());
  EXPECT_EQ(module.Orders[5], 0);
  EXPECT_TRUE(module.Name.empty());
  EXPECT_TRUE(module.Comment.empty());
  EXPECT_EQ(module.SongLength, 0);
  EXPECT_EQ(module.Speed, 6);
  EXPECT_TRUE(module.LinearFrequency);
  EXPECT_EQ(module.Channels[2]->Panning, 128);
  EXPECT_TRUE(module.Channels[2]->Name.empty());
  EXPECT_EQ(module.Channels[2]->EffectSlot, 0u);
  EXPECT_EQ(module.FXData[42].GetSize(), 0);
  EXPECT_EQ(Macro(module, 0), Padded("FF"));
  EXPECT_FALSE(module.MidiConfigLoaded);
  EXPECT_FALSE(module.Loaded);
  EXPECT_EQ(module.MasterVolume, 200);
}

TEST(Module, ResetRewindsAndRestoresEachChannelsDefaultPanning) {
  TTarnXMModule module;
  module.InitialSpeed = 4;
  module.InitialTempo = 150;
  module.OrderPosition = 3;
  module.Row = 12;
  TTarnXMChannel& channel = *module.Channels[1];
  channel.DefaultPanning = 255;
  channel.Panning = 10;
  channel.Active = true;
  channel.FilterCutoff = 20;
  channel.VibratoWaveform = 4;
  channel.VibratoPosition = 33;
  channel.TremoloPosition = 21;
  module.Reset();
  EXPECT_EQ(module.Speed, 4);
  EXPECT_EQ(module.Tempo, 150);
  EXPECT_EQ(module.TickCounter, 4);
  EXPECT_EQ(module.OrderPosition, 0);
  EXPECT_EQ(module.Row, 0);
  EXPECT_EQ(channel.Panning, 255);
  EXPECT_FALSE(channel.Active);
  EXPECT_EQ(channel.FilterCutoff, 127);
  EXPECT_EQ(channel.VibratoPosition, 33);  // waveforms 4..7 keep their position
  EXPECT_EQ(channel.TremoloPosition, 0);
}

TEST(Module, LoadsFromTheProgramsResourcesByNameAndType) {
  TXMWriter writer;
  writer.Title = "from resource";
  const TBytes bytes = writer.Build();
  const platform::TResourceSet resources{{"MSX", "#10", bytes}, {"EMPTY", "#10", {}}};
  platform::SetResources(&resources);
  TTarnXMModule module;
  EXPECT_TRUE(module.LoadFromResource("msx", "#10"));
  EXPECT_EQ(module.Name, "from resource");
  EXPECT_FALSE(module.LoadFromResource("msx", "TEXT"));
  EXPECT_EQ(module.LoadError, TTarnXMLoadError::ResourceNotFound);
  EXPECT_FALSE(module.Loaded);
  EXPECT_FALSE(module.LoadFromResource("EMPTY", "#10"));
  platform::SetResources(nullptr);
}

}  // namespace
