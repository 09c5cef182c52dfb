#include "tools/tarnxm/info_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "tools/tarnxm/song_length.h"
#include "tools/tarnxm/sound_options.h"
#include "tools/tarnxm/tarnxm.h"
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

std::string EnvelopeJson(const TTarnXMEnvelopeInfo& envelope) {
  std::ostringstream json;
  json << "{\"enabled\":" << (envelope.Enabled ? "true" : "false") << ",\"points\":[";
  for (std::size_t k = 0; k < envelope.Points.size(); ++k)
    json << (k ? "," : "") << "[" << envelope.Points[k].first << "," << envelope.Points[k].second << "]";
  json << "],\"sustain\":" << (envelope.SustainEnabled ? std::to_string(envelope.SustainPoint) : "null") << ",\"loop\":"
       << (envelope.LoopEnabled
               ? "[" + std::to_string(envelope.LoopStart) + "," + std::to_string(envelope.LoopEnd) + "]"
               : "null")
       << "}";
  return json.str();
}

std::string SampleJson(const TTarnXMSampleInfo& sample) {
  std::ostringstream json;
  json << "{\"index\":" << sample.Index << ",\"name\":" << JsonString(sample.Name) << ",\"length\":" << sample.Length
       << ",\"loop\":\"" << LoopKind(sample) << "\",\"loop_start\":" << sample.LoopStart
       << ",\"loop_length\":" << sample.LoopLength << ",\"bits\":" << sample.Bits << ",\"channels\":" << sample.Channels
       << ",\"adpcm\":" << (sample.ADPCM ? "true" : "false") << ",\"volume\":" << sample.Volume
       << ",\"panning\":" << (sample.UsePanning ? std::to_string(sample.Panning) : "null")
       << ",\"relative_note\":" << sample.RelativeNote << ",\"fine_tune\":" << sample.FineTune << "}";
  return json.str();
}

std::string InstrumentJson(const TTarnXMInstrumentInfo& instrument) {
  std::ostringstream json;
  json << "{\"number\":" << instrument.Number << ",\"name\":" << JsonString(instrument.Name)
       << ",\"fade_out\":" << instrument.FadeOut << ",\"volume_envelope\":" << EnvelopeJson(instrument.VolumeEnvelope)
       << ",\"panning_envelope\":" << EnvelopeJson(instrument.PanningEnvelope) << ",\"samples\":[";
  for (std::size_t k = 0; k < instrument.Samples.size(); ++k)
    json << (k ? "," : "") << SampleJson(instrument.Samples[k]);
  json << "]}";
  return json.str();
}

std::int64_t Milliseconds(double seconds) { return std::llround(seconds * 1000); }

std::string SubsongsText(const std::vector<TTarnXMSubsong>& subsongs) {
  std::ostringstream text;
  text << "Subsongs:     " << subsongs.size() << "\n";
  for (std::size_t k = 0; k < subsongs.size(); ++k)
    text << "  subsong " << k << ": from order " << subsongs[k].FirstOrder << ", "
         << (subsongs[k].Ends ? ClockText(subsongs[k].Seconds) : "no end within an hour") << "\n";
  return text.str();
}

std::string SubsongsJson(const std::vector<TTarnXMSubsong>& subsongs) {
  std::ostringstream json;
  json << "[";
  for (std::size_t k = 0; k < subsongs.size(); ++k)
    json << (k ? "," : "") << "{\"first_order\":" << subsongs[k].FirstOrder
         << ",\"duration_ms\":" << (subsongs[k].Ends ? std::to_string(Milliseconds(subsongs[k].Seconds)) : "null")
         << "}";
  json << "]";
  return json.str();
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
      if (c == '\n')
        text << "\n  ";
      else if (c != '\r')
        text << PrintableText(std::string(1, c));
    }
    text << "\n";
  }
  return text.str();
}

std::string ModuleJson(const TTarnXMSong& song, std::optional<std::int64_t> durationMs,
                       const std::vector<TTarnXMSubsong>& subsongs) {
  const TTarnXMSongInfo info = DescribeSong(song);
  const std::vector<TTarnXMInstrumentInfo> instruments = DescribeInstruments(song);
  std::ostringstream json;
  json << "{\"format\":\"" << info.FormatName << "\"";
  if (info.Format == TTarnXMFormat::XM) json << ",\"version\":\"" << XMVersion(info) << "\"";
  if (info.Format == TTarnXMFormat::MOD) json << ",\"signature\":" << JsonString(info.Signature);
  json << ",\"title\":" << JsonString(info.Title) << ",\"channels\":" << info.Channels
       << ",\"patterns\":" << info.Patterns << ",\"instruments\":" << instruments.size()
       << ",\"samples\":" << SamplesWithData(instruments) << ",\"song_length\":" << info.Orders.size()
       << ",\"restart\":" << info.RestartPosition << ",\"speed\":" << info.InitialSpeed
       << ",\"tempo\":" << info.InitialTempo << ",\"linear\":" << (info.LinearFrequency ? "true" : "false")
       << ",\"orders\":[";
  for (std::size_t k = 0; k < info.Orders.size(); ++k) json << (k ? "," : "") << info.Orders[k];
  json << "],\"comment\":" << JsonString(info.Comment) << ",\"instrument_list\":[";
  for (std::size_t k = 0; k < instruments.size(); ++k) json << (k ? "," : "") << InstrumentJson(instruments[k]);
  json << "],\"subsongs\":" << SubsongsJson(subsongs)
       << ",\"duration_ms\":" << (durationMs ? std::to_string(*durationMs) : "null") << "}";
  return json.str();
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const bool json = !args.empty() && args[0] == "--json";
  if (args.size() != (json ? 2u : 1u) || args.back().starts_with("--")) {
    err << "tarnxm info: expected [--json] FILE (usage: tarnxm info --help)\n";
    return 2;
  }
  const std::string& path = args.back();
  const TTarnXMLoad load = LoadModuleFile(path);
  if (!load) {
    err << "tarnxm: " << path << ": " << load.Error << "\n";
    return 1;
  }
  // Measured at the renderer's own rate, 44100 Hz.
  TTarnXMRenderer renderer(load.Song);
  const std::optional<std::int64_t> durationMs = SongDurationMs(renderer);
  const std::vector<TTarnXMSubsong>& subsongs = renderer.Subsongs();
  out << (json ? ModuleJson(*load.Song, durationMs, subsongs) + "\n"
               : DescribeModule(*load.Song, durationMs, subsongs));
  return 0;
}
