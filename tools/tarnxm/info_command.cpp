#include "tools/tarnxm/info_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string_view>

#include "tools/tarnxm/song_length.h"
#include "tools/tarnxm/sound_options.h"
#include "tools/tarnxm/text_escape.h"

namespace {

bool HasData(const TTarnXMSampleInfo& sample) { return sample.Length > 0; }

int SamplesWithData(const TTarnXMInstrumentInfo& instrument) {
  return static_cast<int>(std::count_if(instrument.Samples.begin(), instrument.Samples.end(), HasData));
}

int SamplesWithData(const std::vector<TTarnXMInstrumentInfo>& instruments) {
  int count = 0;
  for (const TTarnXMInstrumentInfo& instrument : instruments) count += SamplesWithData(instrument);
  return count;
}

std::string XMVersion(const TTarnXMSongInfo& info) {
  char text[16];
  std::snprintf(text, sizeof text, "%X.%02X", info.FormatVersion >> 8, info.FormatVersion & 0xFF);
  return text;
}

const char* LoopKind(const TTarnXMSampleInfo& sample) {
  return !sample.Loop ? "none" : sample.PingPong ? "ping-pong" : "forward";
}

std::string EnvelopeText(const TTarnXMEnvelopeInfo& envelope) {
  if (!envelope.Enabled) return "off";
  std::string text = std::to_string(envelope.Points.size()) + " points";
  if (envelope.SustainEnabled) text += ", sustain at point " + std::to_string(envelope.SustainPoint);
  if (envelope.LoopEnabled)
    text += ", loop points " + std::to_string(envelope.LoopStart) + "-" + std::to_string(envelope.LoopEnd);
  return text;
}

std::string SampleText(const TTarnXMSampleInfo& sample) {
  std::ostringstream text;
  text << "    sample " << sample.Index << " \"" << PrintableText(sample.Name) << "\": " << sample.Length << " frames, "
       << sample.Bits << "-bit " << (sample.Channels == 2 ? "stereo" : "mono") << (sample.ADPCM ? " (ADPCM)" : "");
  if (sample.Loop)
    text << ", " << LoopKind(sample) << " loop " << sample.LoopStart << "-"
         << std::int64_t{sample.LoopStart} + sample.LoopLength;
  text << ", volume " << sample.Volume;
  if (sample.UsePanning) text << ", panning " << sample.Panning;
  text << ", relative note " << sample.RelativeNote << ", fine-tune " << sample.FineTune << "\n";
  return text.str();
}

std::string InstrumentText(const TTarnXMInstrumentInfo& instrument) {
  std::ostringstream text;
  text << "  instrument " << instrument.Number << " \"" << PrintableText(instrument.Name) << "\": fade-out "
       << instrument.FadeOut << ", volume envelope " << EnvelopeText(instrument.VolumeEnvelope) << ", panning envelope "
       << EnvelopeText(instrument.PanningEnvelope);
  if (instrument.VibratoDepth != 0)
    text << ", auto-vibrato type " << instrument.VibratoType << " depth " << instrument.VibratoDepth << " rate "
         << instrument.VibratoRate << " sweep " << instrument.VibratoSweep;
  text << "\n";
  for (const TTarnXMSampleInfo& sample : instrument.Samples)
    if (HasData(sample) || !sample.Name.empty()) text << SampleText(sample);
  return text.str();
}

std::string SubsongsText(const std::vector<TTarnXMSubsong>& subsongs) {
  std::ostringstream text;
  text << "Subsongs:     " << subsongs.size() << "\n";
  for (std::size_t k = 0; k < subsongs.size(); ++k)
    text << "  subsong " << k << ": from order " << subsongs[k].FirstOrder << ", "
         << (subsongs[k].Ends ? ClockText(subsongs[k].Seconds) : "no end within an hour") << "\n";
  return text.str();
}

using TJson = nlohmann::ordered_json;

// Module texts are Latin-1 bytes; a JSON string holds their characters.
TJson JsonText(std::string_view text) { return Utf8FromLatin1(text); }

TJson JsonOrNull(bool given, const TJson& value) { return given ? value : TJson(nullptr); }

TJson EnvelopeJson(const TTarnXMEnvelopeInfo& envelope) {
  return {{"enabled", envelope.Enabled},
          {"points", envelope.Points},
          {"sustain", JsonOrNull(envelope.SustainEnabled, envelope.SustainPoint)},
          {"loop", JsonOrNull(envelope.LoopEnabled, {envelope.LoopStart, envelope.LoopEnd})}};
}

TJson SampleJson(const TTarnXMSampleInfo& sample) {
  return {{"index", sample.Index},
          {"name", JsonText(sample.Name)},
          {"length", sample.Length},
          {"loop", LoopKind(sample)},
          {"loop_start", sample.LoopStart},
          {"loop_length", sample.LoopLength},
          {"bits", sample.Bits},
          {"channels", sample.Channels},
          {"adpcm", sample.ADPCM},
          {"volume", sample.Volume},
          {"panning", JsonOrNull(sample.UsePanning, sample.Panning)},
          {"relative_note", sample.RelativeNote},
          {"fine_tune", sample.FineTune}};
}

TJson InstrumentJson(const TTarnXMInstrumentInfo& instrument) {
  TJson samples = TJson::array();
  for (const TTarnXMSampleInfo& sample : instrument.Samples) samples.push_back(SampleJson(sample));
  return {{"number", instrument.Number},
          {"name", JsonText(instrument.Name)},
          {"fade_out", instrument.FadeOut},
          {"volume_envelope", EnvelopeJson(instrument.VolumeEnvelope)},
          {"panning_envelope", EnvelopeJson(instrument.PanningEnvelope)},
          {"samples", samples}};
}

TJson SubsongsJson(const std::vector<TTarnXMSubsong>& subsongs) {
  TJson list = TJson::array();
  for (const TTarnXMSubsong& subsong : subsongs)
    list.push_back({{"first_order", subsong.FirstOrder},
                    {"duration_ms", JsonOrNull(subsong.Ends, std::llround(subsong.Seconds * 1000))}});
  return list;
}

// The tool has always written the hex digits of \u escapes in capitals; the
// library writes small letters.
std::string CapitalEscapes(std::string json) {
  for (std::size_t at = 0; at + 1 < json.size(); ++at) {
    if (json[at] != '\\') continue;
    if (json[at + 1] == 'u')
      for (std::size_t digit = at + 2; digit < at + 6; ++digit)
        json[digit] = static_cast<char>(std::toupper(static_cast<unsigned char>(json[digit])));
    ++at;
  }
  return json;
}

}  // namespace

std::string DescribeModule(const TTarnXMSong& song, std::optional<std::int64_t> durationMs,
                           const std::vector<TTarnXMSubsong>& subsongs) {
  const TTarnXMSongInfo info = DescribeSong(song);
  const std::vector<TTarnXMInstrumentInfo> instruments = DescribeInstruments(song);
  std::ostringstream text;
  text << "Format:       " << info.FormatName;
  if (info.Format == TTarnXMFormat::XM) text << " " << XMVersion(info);
  if (info.Format == TTarnXMFormat::MOD)
    text << (info.Signature.empty() ? ", 15 samples" : " \"" + PrintableText(info.Signature) + "\"");
  text << "\nTitle:        " << PrintableText(info.Title) << "\nChannels:     " << info.Channels
       << "\nPatterns:     " << info.Patterns << "\nSong length:  " << info.Orders.size() << ", restart at "
       << info.RestartPosition << "\nOrders:      ";
  for (const std::int32_t pattern : info.Orders) text << " " << pattern;
  text << "\nSpeed:        " << info.InitialSpeed << " ticks per row\nTempo:        " << info.InitialTempo
       << " BPM\nDuration:     " << (durationMs ? std::to_string(*durationMs) + " ms" : "no end within an hour")
       << "\nFrequencies:  " << (info.LinearFrequency ? "linear" : "Amiga periods")
       << "\nInstruments:  " << instruments.size() << "\nSamples:      " << SamplesWithData(instruments)
       << " with data\n"
       << SubsongsText(subsongs);
  for (const TTarnXMInstrumentInfo& instrument : instruments)
    if (!instrument.Name.empty() || SamplesWithData(instrument) > 0) text << InstrumentText(instrument);
  if (!info.Comment.empty()) {
    text << "Comment:\n  ";
    for (const char c : info.Comment) {
      if (c == '\n') text << "\n  ";
      else if (c != '\r') text << PrintableText(std::string(1, c));
    }
    text << "\n";
  }
  return text.str();
}

std::string ModuleJson(const TTarnXMSong& song, std::optional<std::int64_t> durationMs,
                       const std::vector<TTarnXMSubsong>& subsongs) {
  const TTarnXMSongInfo info = DescribeSong(song);
  const std::vector<TTarnXMInstrumentInfo> instruments = DescribeInstruments(song);
  TJson json = TJson::object();
  json["format"] = info.FormatName;
  if (info.Format == TTarnXMFormat::XM) json["version"] = XMVersion(info);
  if (info.Format == TTarnXMFormat::MOD) json["signature"] = JsonText(info.Signature);
  json["title"] = JsonText(info.Title);
  json["channels"] = info.Channels;
  json["patterns"] = info.Patterns;
  json["instruments"] = instruments.size();
  json["samples"] = SamplesWithData(instruments);
  json["song_length"] = info.Orders.size();
  json["restart"] = info.RestartPosition;
  json["speed"] = info.InitialSpeed;
  json["tempo"] = info.InitialTempo;
  json["linear"] = info.LinearFrequency;
  json["orders"] = info.Orders;
  json["comment"] = JsonText(info.Comment);
  TJson instrumentList = TJson::array();
  for (const TTarnXMInstrumentInfo& instrument : instruments) instrumentList.push_back(InstrumentJson(instrument));
  json["instrument_list"] = instrumentList;
  json["subsongs"] = SubsongsJson(subsongs);
  json["duration_ms"] = JsonOrNull(durationMs.has_value(), durationMs.value_or(0));
  return CapitalEscapes(json.dump(-1, ' ', true));
}

CLI::App* AddInfoCommand(CLI::App& tool, TInfoOptions& options) {
  CLI::App* command = tool.add_subcommand("info", "the facts of an XM or MOD module and its subsongs");
  command->footer(
      "The format, title, channels, orders, instruments and samples of the module,\n"
      "its length, and each subsong with its first order and duration.");
  command->add_option("FILE", options.Path, "the module")->required()->type_name("");
  command->add_flag("--json", options.Json, "one JSON object on one line");
  return command;
}

int RunInfo(const TInfoOptions& options, std::ostream& out, std::ostream& err) {
  const TTarnXMLoad load = LoadModuleFile(options.Path);
  if (!load) {
    err << "tarnxm: " << options.Path << ": " << load.Error << "\n";
    return 1;
  }
  // Measured at the renderer's own rate, 44100 Hz.
  TTarnXMRenderer renderer(load.Song);
  const std::optional<std::int64_t> durationMs = SongDurationMs(renderer);
  const std::vector<TTarnXMSubsong>& subsongs = renderer.Subsongs();
  out << (options.Json ? ModuleJson(*load.Song, durationMs, subsongs) + "\n"
                       : DescribeModule(*load.Song, durationMs, subsongs));
  return 0;
}
