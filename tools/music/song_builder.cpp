#include "tools/music/song_builder.h"

#include <algorithm>
#include <cmath>

#include "tools/music/pattern_layout.h"
#include "tools/music/synth_sound.h"

namespace {

constexpr double MiddleC = 261.6255653005986;
// The rate at which C-4 plays a sample with relative note 0 and fine tune 0.
constexpr double BaseRate = 8363;

std::string BuildInstrument(const TScoreInstrument& source, TXmInstrument& instrument) {
  const std::string where =
      "instrument " + std::to_string(source.Number) + " (line " + std::to_string(source.Line) + ")";
  TSynthParams params(source.SynthParams);
  TSynthSound sound;
  if (!Synthesise(source.Synth, params, sound)) return where + " names no synth '" + source.Synth + "'";
  if (!params.Invalid().empty()) return where + ": " + params.Invalid().front();
  if (const auto unused = params.Unused(); !unused.empty())
    return where + ": the " + source.Synth + " synth has no parameter '" + unused.front() + "'";
  TXmSample sample;
  sample.Name = source.Name;
  sample.Data = Quantise(sound.Data, source.Bits);
  sample.SixteenBit = source.Bits == 16;
  sample.Loop = sound.Loop;
  sample.LoopStart = static_cast<std::uint32_t>(sound.LoopStart);
  sample.LoopLength = static_cast<std::uint32_t>(sound.LoopLength);
  sample.Volume = static_cast<std::uint8_t>(source.Volume);
  sample.Panning = static_cast<std::uint8_t>(source.Panning);
  TuneSample(sound.RootHz > 0 ? sound.Rate * MiddleC / sound.RootHz : sound.Rate, sample);
  instrument.Name = source.Name;
  instrument.Samples = {std::move(sample)};
  instrument.VolumeEnvelope = source.VolumeEnvelope;
  instrument.PanningEnvelope = source.PanningEnvelope;
  instrument.FadeOut = static_cast<std::uint16_t>(source.FadeOut);
  instrument.VibratoType = static_cast<std::uint8_t>(source.VibratoType);
  instrument.VibratoSweep = static_cast<std::uint8_t>(source.VibratoSweep);
  instrument.VibratoDepth = static_cast<std::uint8_t>(source.VibratoDepth);
  instrument.VibratoRate = static_cast<std::uint8_t>(source.VibratoRate);
  return {};
}

int PatternIndex(const TScore& score, const std::string& name) {
  for (std::size_t i = 0; i < score.Patterns.size(); ++i)
    if (score.Patterns[i].Name == name) return static_cast<int>(i);
  return -1;
}

}  // namespace

std::vector<std::string> DefaultMacros() {
  static const char hex[] = "0123456789ABCDEF";
  std::vector<std::string> macros(XmMacroCount);
  macros[0] = "FF";
  macros[1] = "FC";
  macros[3] = "9c n v";
  macros[4] = "9c n 0";
  macros[8] = "Cc p";
  macros[9] = "F0F000z";
  for (int i = 0; i < 16; ++i) macros[25 + i] = std::string("F0F001") + hex[(i * 8) >> 4] + hex[(i * 8) & 15];
  return macros;
}

void TuneSample(double rateAtC4, TXmSample& sample) {
  const double semitones = 12.0 * std::log2(rateAtC4 / BaseRate);
  const double relative = std::round(semitones);
  sample.RelativeNote = static_cast<std::int8_t>(std::clamp(relative, -96.0, 95.0));
  sample.FineTune = static_cast<std::int8_t>(std::clamp(std::round((semitones - relative) * 128), -128.0, 127.0));
}

TSongBuildResult BuildSong(const TScore& score) {
  TSongBuildResult result;
  TXmSong& song = result.Song;
  song.Name = score.Title;
  song.Channels = static_cast<int>(score.ChannelNames.size());
  song.ChannelNames = score.ChannelNames;
  song.RestartPosition = static_cast<std::uint16_t>(score.Restart);
  song.LinearFrequency = score.LinearFrequency;
  song.ExtendedFilterRange = score.ExtendedFilterRange;
  song.Speed = static_cast<std::uint16_t>(score.Speed);
  song.Tempo = static_cast<std::uint16_t>(score.Tempo);
  song.Message = score.Message;
  if (!score.Macros.empty()) {
    song.Macros = DefaultMacros();
    for (const auto& [slot, text] : score.Macros) song.Macros[slot] = text;
  }
  int highest = 0;
  for (const TScoreInstrument& instrument : score.Instruments) highest = std::max(highest, instrument.Number);
  song.Instruments.resize(highest);
  for (const TScoreInstrument& instrument : score.Instruments) {
    result.Error = BuildInstrument(instrument, song.Instruments[instrument.Number - 1]);
    if (!result.Error.empty()) return result;
  }
  for (const TScorePattern& pattern : score.Patterns) {
    TPatternLayout layout = LayOutPattern(score, pattern);
    for (const TXmCell& cell : layout.Cells)
      if (layout.Error.empty() && cell.Instrument != 0 &&
          (cell.Instrument > highest || song.Instruments[cell.Instrument - 1].Samples.empty()))
        layout.Error = "pattern '" + pattern.Name + "' plays instrument " + std::to_string(cell.Instrument) +
                       ", which the score does not define";
    if (!layout.Error.empty()) {
      result.Error = layout.Error;
      return result;
    }
    song.Patterns.push_back({pattern.Name, pattern.Rows, std::move(layout.Cells)});
  }
  for (const std::string& name : score.Orders)
    song.Orders.push_back(static_cast<std::uint8_t>(PatternIndex(score, name)));
  return result;
}
