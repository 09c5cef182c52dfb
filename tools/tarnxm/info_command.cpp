#include "tools/tarnxm/info_command.h"

#include <cstdio>
#include <sstream>

#include "tools/tarnxm/module_file.h"
#include "tools/tarnxm/song_length.h"
#include "tools/tarnxm/tarnxm.h"
#include "tools/tarnxm/text_escape.h"

namespace {

int InstrumentCount(const TTarnXMModule& module) {
  int count = 0;
  for (const auto& instrument : module.Instruments) count += instrument != nullptr;
  return count;
}

bool HasData(const TTarnXMSample* sample) { return sample && sample->Length > 0; }

int SamplesWithData(const TTarnXMInstrument& instrument) {
  int count = 0;
  for (const auto& sample : instrument.Samples) count += HasData(sample.get());
  return count;
}

int SamplesWithData(const TTarnXMModule& module) {
  int count = 0;
  for (const auto& instrument : module.Instruments)
    if (instrument) count += SamplesWithData(*instrument);
  return count;
}

const char* FormatName(const TTarnXMModule& module) {
  return module.Format == TTarnXMFormat::XM ? "XM" : module.Format == TTarnXMFormat::MOD ? "MOD" : "none";
}

std::string XMVersion(const TTarnXMModule& module) {
  char text[16];
  std::snprintf(text, sizeof text, "%X.%02X", module.FormatVersion >> 8, module.FormatVersion & 0xFF);
  return text;
}

const char* LoopKind(const TTarnXMSample& sample) {
  return !sample.Loop ? "none" : sample.PingPong ? "ping-pong" : "forward";
}

std::string EnvelopeText(const TTarnXMEnvelope& envelope) {
  if (!envelope.Enabled) return "off";
  std::string text = std::to_string(envelope.NumPoints) + " points";
  if (envelope.SustainEnabled) text += ", sustain at point " + std::to_string(envelope.SustainPoint);
  if (envelope.LoopEnabled)
    text += ", loop points " + std::to_string(envelope.LoopStart) + "-" + std::to_string(envelope.LoopEnd);
  return text;
}

std::string SampleText(int index, const TTarnXMSample& sample) {
  std::ostringstream text;
  text << "    sample " << index << " \"" << PrintableText(sample.Name) << "\": " << sample.Length << " frames, "
       << sample.Bits << "-bit " << (sample.Channels == 2 ? "stereo" : "mono") << (sample.ADPCM ? " (ADPCM)" : "");
  if (sample.Loop)
    text << ", " << LoopKind(sample) << " loop " << sample.LoopStart << "-"
         << std::int64_t{sample.LoopStart} + sample.LoopLength;
  text << ", volume " << sample.Volume;
  if (sample.UsePanning) text << ", panning " << sample.Panning;
  text << ", relative note " << sample.RelativeNote << ", fine-tune " << sample.FineTune << "\n";
  return text.str();
}

std::string InstrumentText(int number, const TTarnXMInstrument& instrument) {
  std::ostringstream text;
  text << "  instrument " << number << " \"" << PrintableText(instrument.Name) << "\": fade-out " << instrument.FadeOut
       << ", volume envelope " << EnvelopeText(instrument.VolumeEnvelope) << ", panning envelope "
       << EnvelopeText(instrument.PanningEnvelope);
  if (instrument.VibratoDepth != 0)
    text << ", auto-vibrato type " << instrument.VibratoType << " depth " << instrument.VibratoDepth << " rate "
         << instrument.VibratoRate << " sweep " << instrument.VibratoSweep;
  text << "\n";
  for (int j = 0; j < TTarnXMInstrument::MaxSamples; ++j)
    if (const TTarnXMSample* sample = instrument.Samples[j].get();
        sample && (sample->Length > 0 || !sample->Name.empty()))
      text << SampleText(j, *sample);
  return text.str();
}

std::string EnvelopeJson(const TTarnXMEnvelope& envelope) {
  std::ostringstream json;
  json << "{\"enabled\":" << (envelope.Enabled ? "true" : "false") << ",\"points\":[";
  for (int k = 0; k < envelope.NumPoints; ++k)
    json << (k ? "," : "") << "[" << envelope.Points[k].Position << "," << envelope.Points[k].Value << "]";
  json << "],\"sustain\":" << (envelope.SustainEnabled ? std::to_string(envelope.SustainPoint) : "null") << ",\"loop\":"
       << (envelope.LoopEnabled
               ? "[" + std::to_string(envelope.LoopStart) + "," + std::to_string(envelope.LoopEnd) + "]"
               : "null")
       << "}";
  return json.str();
}

std::string SampleJson(int index, const TTarnXMSample& sample) {
  std::ostringstream json;
  json << "{\"index\":" << index << ",\"name\":" << JsonString(sample.Name) << ",\"length\":" << sample.Length
       << ",\"loop\":\"" << LoopKind(sample) << "\",\"loop_start\":" << sample.LoopStart
       << ",\"loop_length\":" << sample.LoopLength << ",\"bits\":" << sample.Bits << ",\"channels\":" << sample.Channels
       << ",\"adpcm\":" << (sample.ADPCM ? "true" : "false") << ",\"volume\":" << sample.Volume
       << ",\"panning\":" << (sample.UsePanning ? std::to_string(sample.Panning) : "null")
       << ",\"relative_note\":" << sample.RelativeNote << ",\"fine_tune\":" << sample.FineTune << "}";
  return json.str();
}

std::string InstrumentJson(int number, const TTarnXMInstrument& instrument) {
  std::ostringstream json;
  json << "{\"number\":" << number << ",\"name\":" << JsonString(instrument.Name)
       << ",\"fade_out\":" << instrument.FadeOut << ",\"volume_envelope\":" << EnvelopeJson(instrument.VolumeEnvelope)
       << ",\"panning_envelope\":" << EnvelopeJson(instrument.PanningEnvelope) << ",\"samples\":[";
  bool first = true;
  for (int j = 0; j < TTarnXMInstrument::MaxSamples; ++j)
    if (const TTarnXMSample* sample = instrument.Samples[j].get()) {
      json << (first ? "" : ",") << SampleJson(j, *sample);
      first = false;
    }
  json << "]}";
  return json.str();
}

}  // namespace

std::string DescribeModule(const TTarnXMModule& module, std::optional<std::int64_t> durationMs) {
  std::ostringstream text;
  text << "Format:       " << FormatName(module);
  if (module.Format == TTarnXMFormat::XM) text << " " << XMVersion(module);
  if (module.Format == TTarnXMFormat::MOD)
    text << (module.Signature.empty() ? ", 15 samples" : " \"" + PrintableText(module.Signature) + "\"");
  text << "\nTitle:        " << PrintableText(module.Name) << "\nChannels:     " << module.NumChannels
       << "\nPatterns:     " << module.NumPatterns << "\nSong length:  " << module.SongLength << ", restart at "
       << module.RestartPosition << "\nOrders:      ";
  for (int k = 0; k < module.SongLength; ++k) text << " " << int{module.Orders[k]};
  text << "\nSpeed:        " << int{module.InitialSpeed} << " ticks per row\nTempo:        " << int{module.InitialTempo}
       << " BPM\nDuration:     " << (durationMs ? std::to_string(*durationMs) + " ms" : "no end within an hour")
       << "\nFrequencies:  " << (module.LinearFrequency ? "linear" : "Amiga periods")
       << "\nInstruments:  " << InstrumentCount(module) << "\nSamples:      " << SamplesWithData(module)
       << " with data\n";
  for (int i = 1; i <= TTarnXMModule::MaxInstruments; ++i)
    if (const TTarnXMInstrument* instrument = module.Instruments[i].get();
        instrument && (!instrument->Name.empty() || SamplesWithData(*instrument) > 0))
      text << InstrumentText(i, *instrument);
  if (!module.Comment.empty()) {
    text << "Comment:\n  ";
    for (const char c : module.Comment) {
      if (c == '\n')
        text << "\n  ";
      else if (c != '\r')
        text << PrintableText(std::string(1, c));
    }
    text << "\n";
  }
  return text.str();
}

std::string ModuleJson(const TTarnXMModule& module, std::optional<std::int64_t> durationMs) {
  std::ostringstream json;
  json << "{\"format\":\"" << FormatName(module) << "\"";
  if (module.Format == TTarnXMFormat::XM) json << ",\"version\":\"" << XMVersion(module) << "\"";
  if (module.Format == TTarnXMFormat::MOD) json << ",\"signature\":" << JsonString(module.Signature);
  json << ",\"title\":" << JsonString(module.Name) << ",\"channels\":" << module.NumChannels
       << ",\"patterns\":" << module.NumPatterns << ",\"instruments\":" << InstrumentCount(module)
       << ",\"samples\":" << SamplesWithData(module) << ",\"song_length\":" << module.SongLength
       << ",\"restart\":" << module.RestartPosition << ",\"speed\":" << int{module.InitialSpeed}
       << ",\"tempo\":" << int{module.InitialTempo} << ",\"linear\":" << (module.LinearFrequency ? "true" : "false")
       << ",\"orders\":[";
  for (int k = 0; k < module.SongLength; ++k) json << (k ? "," : "") << int{module.Orders[k]};
  json << "],\"comment\":" << JsonString(module.Comment) << ",\"instrument_list\":[";
  bool first = true;
  for (int i = 1; i <= TTarnXMModule::MaxInstruments; ++i)
    if (const TTarnXMInstrument* instrument = module.Instruments[i].get()) {
      json << (first ? "" : ",") << InstrumentJson(i, *instrument);
      first = false;
    }
  json << "],\"duration_ms\":" << (durationMs ? std::to_string(*durationMs) : "null") << "}";
  return json.str();
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const bool json = !args.empty() && args[0] == "--json";
  if (args.size() != (json ? 2u : 1u) || args.back().starts_with("--")) {
    err << "tarnxm info: expected [--json] FILE\n" << TarnXMUsage;
    return 2;
  }
  const std::string& path = args.back();
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(DurationRate, 1, true);
  TTarnXMModule& module = player->Module;
  std::string error;
  if (!LoadModuleFile(path, module, error)) {
    err << "tarnxm: " << path << ": " << error << "\n";
    return 1;
  }
  const std::optional<std::int64_t> durationMs = SongDurationMs(*player);
  out << (json ? ModuleJson(module, durationMs) + "\n" : DescribeModule(module, durationMs));
  return 0;
}
