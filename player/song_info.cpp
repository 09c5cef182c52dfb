// The public face of loading: songs from bytes and files, probes, and what
// a song holds.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>

#include <sys/stat.h>

#include "player/module_loaders.h"
#include "tarnxm/tarnxm.h"

namespace {

// Far above any real module; a file past it is refused before it fills memory,
// and an endless one (a device, a pipe) is cut off there.
constexpr std::size_t MaxModuleBytes = std::size_t{256} << 20;

TTarnXMLoad Failure(std::string reason) { return TTarnXMLoad{nullptr, std::move(reason)}; }

std::string ReadFailure() { return std::string("cannot read: ") + std::strerror(errno); }

}  // namespace

TTarnXMLoad LoadModule(const void* data, std::size_t size) {
  TTarnXMLoadError error = TTarnXMLoadError::None;
  std::shared_ptr<const TTarnXMSong> song = LoadSong(data, size, error);
  if (!song) return Failure(LoadErrorText(error));
  return TTarnXMLoad{std::move(song), {}};
}

TTarnXMLoad LoadModuleFile(const std::string& path) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return Failure(ReadFailure());
  struct stat status {};
  if (fstat(fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode) &&
      static_cast<std::uint64_t>(status.st_size) > MaxModuleBytes)
    return Failure("too large to be a module");
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> chunk(65536);
  std::size_t count;
  while ((count = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
    if (bytes.size() + count > MaxModuleBytes) return Failure("too large to be a module");
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count));
  }
  // A directory opens, then fails on the first read.
  if (std::ferror(file.get())) return Failure(ReadFailure());
  return LoadModule(bytes.data(), bytes.size());
}

std::optional<TTarnXMProbe> ProbeModule(const void* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t*>(data), data ? size : 0);
  TTarnXMProbe probe;
  if (!FindLoader(bytes, probe)) return std::nullopt;
  return probe;
}

TTarnXMSongInfo DescribeSong(const TTarnXMSong& song) {
  TTarnXMSongInfo info;
  info.Format = song.Format;
  info.FormatName = song.Format == TTarnXMFormat::XM ? "XM" : song.Format == TTarnXMFormat::MOD ? "MOD" : "";
  info.FormatVersion = song.FormatVersion;
  info.Signature = song.Signature;
  info.Title = song.Name;
  info.Comment = song.Comment;
  info.Channels = song.PlayedChannels();
  info.Patterns = song.NumPatterns;
  info.RestartPosition = song.RestartPosition;
  info.InitialSpeed = song.InitialSpeed;
  info.InitialTempo = song.InitialTempo;
  info.LinearFrequency = song.LinearFrequency;
  info.ExtendedFilterRange = song.ExtendedFilterRange;
  for (int p = 0; p < std::min(song.NumPatterns, TTarnXMSong::MaxPatterns); ++p)
    info.PatternNames.push_back(song.Patterns[p].Name);
  for (std::size_t k = 0; k < MacroCount; ++k) {
    const char* entry = song.MidiConfig.data() + k * MacroLength;
    info.Macros.emplace_back(entry, std::find(entry, entry + MacroLength, '\0'));
  }
  info.MacrosFromFile = song.MidiConfigLoaded;
  info.Orders.assign(song.Orders.begin(), song.Orders.begin() + std::clamp(song.SongLength, 0, TTarnXMSong::MaxOrders));
  for (int number = 1; number <= TTarnXMSong::MaxInstruments; ++number) {
    const TTarnXMInstrument* instrument = song.InstrumentAt(number);
    if (!instrument) continue;
    info.InstrumentNames.resize(static_cast<std::size_t>(number));
    info.InstrumentSamples.resize(static_cast<std::size_t>(number));
    info.InstrumentNames[number - 1] = instrument->Name;
    for (const auto& sample : instrument->Samples) info.InstrumentSamples[number - 1] += sample ? 1 : 0;
  }
  for (int channel = 0; channel < info.Channels; ++channel)
    info.ChannelNames.push_back(song.ChannelSettings[channel].Name);
  return info;
}

std::int32_t PatternRows(const TTarnXMSong& song, std::int32_t pattern) {
  return pattern >= 0 && pattern < TTarnXMSong::MaxPatterns ? song.Patterns[pattern].Rows : 0;
}

std::vector<std::int32_t> SampleValues(const TTarnXMSong& song, std::int32_t instrument, std::int32_t slot) {
  const TTarnXMInstrument* held = song.InstrumentAt(instrument);
  if (!held || slot < 0 || slot >= TTarnXMInstrument::MaxSamples || !held->Samples[slot]) return {};
  const TTarnXMSample& sample = *held->Samples[slot];
  if (!sample.Data || sample.Length <= 0) return {};
  return {sample.Data, sample.Data + std::int64_t{sample.Length} * sample.Channels};
}

TTarnXMCell PatternCell(const TTarnXMSong& song, std::int32_t pattern, std::int32_t row, std::int32_t channel) {
  if (pattern < 0 || pattern >= TTarnXMSong::MaxPatterns || row < 0 || row >= song.Patterns[pattern].Rows ||
      channel < 0 || channel >= song.Patterns[pattern].Channels)
    return {};
  const TTarnXMPatternNote note = song.Patterns[pattern].GetNote(row, channel);
  return TTarnXMCell{note.Note, note.Instrument, note.VolumeColumn, note.Effect, note.EffectParameter};
}
