#include "tools/xm_writer/xm_writer.h"

#include <algorithm>

#include "tools/xm_writer/xm_file_writer.h"

namespace {

// 243 bytes of fields and 20 reserved, the size instrument headers are written with.
constexpr std::uint32_t InstrumentSize = 263;
constexpr std::size_t MaxEnvelopePoints = 12;

std::string CheckEnvelope(const TXmEnvelope& envelope, const std::string& what) {
  const std::size_t count = envelope.Points.size();
  if (count > MaxEnvelopePoints) return what + " has more than 12 points";
  for (std::size_t i = 0; i < count; ++i) {
    if (envelope.Points[i].Value > 64) return what + " has a value above 64";
    if (i > 0 && envelope.Points[i].Tick <= envelope.Points[i - 1].Tick) return what + " has ticks that do not rise";
  }
  if (envelope.Enabled && count == 0) return what + " is enabled without points";
  if (envelope.SustainEnabled && envelope.SustainPoint >= count) return what + " sustains past its last point";
  if (envelope.LoopEnabled && (envelope.LoopStart >= envelope.LoopEnd || envelope.LoopEnd >= count))
    return what + " has a loop outside its points";
  return {};
}

std::string CheckSample(const TXmSample& sample, const std::string& what) {
  const std::uint64_t bytes = sample.Data.size() * (sample.SixteenBit ? 2ull : 1ull);
  if (bytes > 0xFFFFFFFFull / 2) return what + " is too long";
  if (sample.Loop != TXmLoop::None &&
      (sample.LoopLength == 0 || std::uint64_t{sample.LoopStart} + sample.LoopLength > sample.Data.size()))
    return what + " loops outside its data";
  if (sample.Volume > 64) return what + " has a volume above 64";
  return {};
}

std::string CheckSong(const TXmSong& song) {
  if (song.Channels < 1 || song.Channels > 255) return "the channel count must be 1..255";
  if (song.Orders.empty() || song.Orders.size() > 256) return "the order list must hold 1..256 entries";
  if (song.RestartPosition >= song.Orders.size()) return "the restart position lies past the order list";
  if (song.Patterns.empty() || song.Patterns.size() > 256) return "the song must have 1..256 patterns";
  if (song.Instruments.size() > 255) return "the song has more than 255 instruments";
  for (const std::uint8_t order : song.Orders)
    if (order >= song.Patterns.size()) return "the order list names a missing pattern";
  for (std::size_t p = 0; p < song.Patterns.size(); ++p) {
    const TXmPattern& pattern = song.Patterns[p];
    const std::string what = "pattern " + std::to_string(p);
    if (pattern.Rows < 1 || pattern.Rows > 256) return what + " must have 1..256 rows";
    if (pattern.Cells.size() != static_cast<std::size_t>(pattern.Rows) * song.Channels)
      return what + " does not hold rows x channels cells";
    for (const TXmCell& cell : pattern.Cells)
      if (cell.Note > 97) return what + " holds a note above 97";
  }
  for (std::size_t i = 0; i < song.Instruments.size(); ++i) {
    const TXmInstrument& instrument = song.Instruments[i];
    const std::string what = "instrument " + std::to_string(i + 1);
    if (instrument.Samples.size() > 16) return what + " has more than 16 samples";
    for (const std::uint8_t entry : instrument.SampleMap)
      if (!instrument.Samples.empty() && entry >= instrument.Samples.size())
        return what + " maps a note to a missing sample";
    if (auto error = CheckEnvelope(instrument.VolumeEnvelope, what + "'s volume envelope"); !error.empty())
      return error;
    if (auto error = CheckEnvelope(instrument.PanningEnvelope, what + "'s panning envelope"); !error.empty())
      return error;
    for (std::size_t s = 0; s < instrument.Samples.size(); ++s)
      if (auto error = CheckSample(instrument.Samples[s], what + "'s sample " + std::to_string(s)); !error.empty())
        return error;
  }
  if (!song.Macros.empty() && song.Macros.size() != XmMacroCount) return "the macro table must hold 153 strings";
  if (song.ChannelNames.size() > static_cast<std::size_t>(song.Channels)) return "more channel names than channels";
  return {};
}

// A pattern of empty cells needs no data: a packed size of 0 reads as empty rows.
TXMPatternWriter PatternOf(const TXmPattern& pattern) {
  TBytes packed;
  bool empty = true;
  for (const TXmCell& cell : pattern.Cells) {
    PackCell(cell, packed);
    empty = empty && cell == TXmCell{};
  }
  if (empty) packed.clear();
  return XMPattern(static_cast<std::uint16_t>(pattern.Rows), std::move(packed));
}

TXMEnvelopeWriter EnvelopeOf(const TXmEnvelope& envelope) {
  TXMEnvelopeWriter written;
  for (const TXmEnvelopePoint& point : envelope.Points) written.Points.emplace_back(point.Tick, point.Value);
  written.Sustain = envelope.SustainPoint;
  written.LoopStart = envelope.LoopStart;
  written.LoopEnd = envelope.LoopEnd;
  written.Type = static_cast<std::uint8_t>((envelope.Enabled ? 1 : 0) | (envelope.SustainEnabled ? 2 : 0) |
                                           (envelope.LoopEnabled ? 4 : 0));
  return written;
}

TXMSampleWriter SampleOf(const TXmSample& sample) {
  TXMSampleWriter written;
  written.Name = sample.Name;
  if (sample.SixteenBit) {
    written.Data = Delta16(sample.Data);
  } else {
    std::vector<std::int8_t> highBytes;
    for (const std::int16_t value : sample.Data) highBytes.push_back(static_cast<std::int8_t>(value >> 8));
    written.Data = Delta8(highBytes);
  }
  const std::uint32_t bytesPerFrame = sample.SixteenBit ? 2 : 1;
  if (sample.Loop != TXmLoop::None) {
    written.LoopStart = sample.LoopStart * bytesPerFrame;
    written.LoopLength = sample.LoopLength * bytesPerFrame;
  }
  written.Volume = sample.Volume;
  written.FineTune = sample.FineTune;
  const int loopBits = sample.Loop == TXmLoop::Forward ? 1 : sample.Loop == TXmLoop::PingPong ? 2 : 0;
  written.Type = static_cast<std::uint8_t>(loopBits | (sample.SixteenBit ? 0x10 : 0));
  written.Panning = sample.Panning;
  written.RelativeNote = sample.RelativeNote;
  return written;
}

TXMInstrumentWriter InstrumentOf(const TXmInstrument& instrument) {
  TXMInstrumentWriter written;
  written.Name = instrument.Name;
  if (!instrument.Samples.empty()) written.Size = InstrumentSize;
  written.SampleMap = instrument.SampleMap;
  written.VolumeEnvelope = EnvelopeOf(instrument.VolumeEnvelope);
  written.PanningEnvelope = EnvelopeOf(instrument.PanningEnvelope);
  written.VibratoType = instrument.VibratoType;
  written.VibratoSweep = instrument.VibratoSweep;
  written.VibratoDepth = instrument.VibratoDepth;
  written.VibratoRate = instrument.VibratoRate;
  written.FadeOut = instrument.FadeOut;
  for (const TXmSample& sample : instrument.Samples) written.Samples.push_back(SampleOf(sample));
  return written;
}

TBytes TextFields(const std::vector<std::string>& texts, std::size_t width) {
  TBytes bytes;
  TByteWriter out(bytes);
  for (const std::string& text : texts) out.Text(text, width);
  return bytes;
}

TBytes Chunks(const TXmSong& song) {
  TBytes chunks;
  TByteWriter out(chunks);
  if (!song.Message.empty()) {
    // Lines end in a carriage return alone; readers add the line feed.
    TBytes text(song.Message.begin(), song.Message.end());
    for (std::uint8_t& c : text)
      if (c == '\n') c = '\r';
    out.Append(XMChunk("text", text));
  }
  if (song.Macros.size() == XmMacroCount) out.Append(XMChunk("MIDI", TextFields(song.Macros, XmMacroBytes)));
  std::vector<std::string> patternNames;
  for (const TXmPattern& pattern : song.Patterns) patternNames.push_back(pattern.Name);
  if (std::any_of(patternNames.begin(), patternNames.end(), [](const std::string& name) { return !name.empty(); }))
    out.Append(XMChunk("PNAM", TextFields(patternNames, 32)));
  if (!song.ChannelNames.empty()) out.Append(XMChunk("CNAM", TextFields(song.ChannelNames, 20)));
  return chunks;
}

}  // namespace

TXmWriteResult WriteXm(const TXmSong& song) {
  TXmWriteResult result;
  result.Error = CheckSong(song);
  if (!result.Error.empty()) return result;
  TXMWriter file;
  file.Title = song.Name;
  file.Tracker = song.TrackerName;
  file.SongLength = static_cast<std::uint16_t>(song.Orders.size());
  file.Restart = song.RestartPosition;
  file.Channels = static_cast<std::uint16_t>(song.Channels);
  file.Flags =
      static_cast<std::uint16_t>((song.LinearFrequency ? 0x0001 : 0) | (song.ExtendedFilterRange ? 0x1000 : 0));
  file.Speed = song.Speed;
  file.Tempo = song.Tempo;
  std::copy(song.Orders.begin(), song.Orders.end(), file.Orders.begin());
  for (const TXmPattern& pattern : song.Patterns) {
    file.Patterns.push_back(PatternOf(pattern));
    if (file.Patterns.back().Packed.size() > 0xFFFF) {
      result.Error = "a pattern packs to more than 65535 bytes";
      return result;
    }
  }
  for (const TXmInstrument& instrument : song.Instruments) file.Instruments.push_back(InstrumentOf(instrument));
  file.Trailer = Chunks(song);
  result.Bytes = file.Build();
  return result;
}
