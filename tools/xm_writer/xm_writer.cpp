#include "tools/xm_writer/xm_writer.h"

#include "tools/xm_writer/byte_writer.h"
#include "tools/xm_writer/xm_encoding.h"

namespace {

constexpr std::uint32_t HeaderSize = 276;  // from the header-size field to the end of the order table
constexpr std::uint32_t InstrumentSize = 263;
constexpr std::uint32_t EmptyInstrumentSize = 29;
constexpr std::uint32_t SampleHeaderSize = 40;
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
      if (!instrument.Samples.empty() && entry >= instrument.Samples.size()) return what + " maps a note to a missing sample";
    if (auto error = CheckEnvelope(instrument.VolumeEnvelope, what + "'s volume envelope"); !error.empty()) return error;
    if (auto error = CheckEnvelope(instrument.PanningEnvelope, what + "'s panning envelope"); !error.empty()) return error;
    for (std::size_t s = 0; s < instrument.Samples.size(); ++s)
      if (auto error = CheckSample(instrument.Samples[s], what + "'s sample " + std::to_string(s)); !error.empty())
        return error;
  }
  if (!song.Macros.empty() && song.Macros.size() != XmMacroCount) return "the macro table must hold 153 strings";
  if (song.ChannelNames.size() > static_cast<std::size_t>(song.Channels)) return "more channel names than channels";
  return {};
}

void WriteHeader(const TXmSong& song, TByteWriter& out) {
  out.Text("Extended Module: ", 17);
  out.Text(song.Name, 20);
  out.U8(0x1A);
  out.Text(song.TrackerName, 20);
  out.U16(0x0104);
  out.U32(HeaderSize);
  out.U16(static_cast<std::uint32_t>(song.Orders.size()));
  out.U16(song.RestartPosition);
  out.U16(static_cast<std::uint32_t>(song.Channels));
  out.U16(static_cast<std::uint32_t>(song.Patterns.size()));
  out.U16(static_cast<std::uint32_t>(song.Instruments.size()));
  out.U16((song.LinearFrequency ? 0x0001 : 0) | (song.ExtendedFilterRange ? 0x1000 : 0));
  out.U16(song.Speed);
  out.U16(song.Tempo);
  for (std::size_t i = 0; i < 256; ++i) out.U8(i < song.Orders.size() ? song.Orders[i] : 0);
}

std::string WritePattern(const TXmPattern& pattern, TByteWriter& out) {
  std::vector<std::uint8_t> packed;
  bool empty = true;
  for (const TXmCell& cell : pattern.Cells) {
    PackCell(cell, packed);
    empty = empty && cell == TXmCell{};
  }
  // A pattern of empty cells needs no data: a packed size of 0 reads as empty rows.
  if (empty) packed.clear();
  if (packed.size() > 0xFFFF) return "a pattern packs to more than 65535 bytes";
  out.U32(9);
  out.U8(0);  // packing type
  out.U16(static_cast<std::uint32_t>(pattern.Rows));
  out.U16(static_cast<std::uint32_t>(packed.size()));
  out.Append(packed);
  return {};
}

void WriteEnvelopePoints(const TXmEnvelope& envelope, TByteWriter& out) {
  for (std::size_t i = 0; i < MaxEnvelopePoints; ++i) {
    const TXmEnvelopePoint point = i < envelope.Points.size() ? envelope.Points[i] : TXmEnvelopePoint{};
    out.U16(point.Tick);
    out.U16(point.Value);
  }
}

std::uint32_t EnvelopeType(const TXmEnvelope& envelope) {
  return (envelope.Enabled ? 1 : 0) | (envelope.SustainEnabled ? 2 : 0) | (envelope.LoopEnabled ? 4 : 0);
}

void WriteSampleHeader(const TXmSample& sample, TByteWriter& out) {
  const std::uint32_t bytesPerFrame = sample.SixteenBit ? 2 : 1;
  const std::uint32_t loopBits = sample.Loop == TXmLoop::Forward ? 1 : sample.Loop == TXmLoop::PingPong ? 2 : 0;
  const bool loops = sample.Loop != TXmLoop::None;
  out.U32(static_cast<std::uint32_t>(sample.Data.size()) * bytesPerFrame);
  out.U32(loops ? sample.LoopStart * bytesPerFrame : 0);
  out.U32(loops ? sample.LoopLength * bytesPerFrame : 0);
  out.U8(sample.Volume);
  out.U8(static_cast<std::uint8_t>(sample.FineTune));
  out.U8(loopBits | (sample.SixteenBit ? 0x10 : 0));
  out.U8(sample.Panning);
  out.U8(static_cast<std::uint8_t>(sample.RelativeNote));
  out.U8(0);  // reserved
  out.Text(sample.Name, 22);
}

void WriteInstrument(const TXmInstrument& instrument, TByteWriter& out) {
  const std::size_t start = out.Size();
  out.U32(instrument.Samples.empty() ? EmptyInstrumentSize : InstrumentSize);
  out.Text(instrument.Name, 22);
  out.U8(0);  // type
  out.U16(static_cast<std::uint32_t>(instrument.Samples.size()));
  if (instrument.Samples.empty()) return;
  out.U32(SampleHeaderSize);
  for (const std::uint8_t entry : instrument.SampleMap) out.U8(entry);
  WriteEnvelopePoints(instrument.VolumeEnvelope, out);
  WriteEnvelopePoints(instrument.PanningEnvelope, out);
  out.U8(static_cast<std::uint32_t>(instrument.VolumeEnvelope.Points.size()));
  out.U8(static_cast<std::uint32_t>(instrument.PanningEnvelope.Points.size()));
  out.U8(instrument.VolumeEnvelope.SustainPoint);
  out.U8(instrument.VolumeEnvelope.LoopStart);
  out.U8(instrument.VolumeEnvelope.LoopEnd);
  out.U8(instrument.PanningEnvelope.SustainPoint);
  out.U8(instrument.PanningEnvelope.LoopStart);
  out.U8(instrument.PanningEnvelope.LoopEnd);
  out.U8(EnvelopeType(instrument.VolumeEnvelope));
  out.U8(EnvelopeType(instrument.PanningEnvelope));
  out.U8(instrument.VibratoType);
  out.U8(instrument.VibratoSweep);
  out.U8(instrument.VibratoDepth);
  out.U8(instrument.VibratoRate);
  out.U16(instrument.FadeOut);
  while (out.Size() < start + InstrumentSize) out.U8(0);  // reserved
  for (const TXmSample& sample : instrument.Samples) WriteSampleHeader(sample, out);
  for (const TXmSample& sample : instrument.Samples)
    out.Append(sample.SixteenBit ? DeltaEncode16(sample.Data) : DeltaEncode8(sample.Data));
}

void WriteChunkHeader(const char* id, std::size_t length, TByteWriter& out) {
  out.Text(id, 4);
  out.U32(static_cast<std::uint32_t>(length));
}

void WriteChunks(const TXmSong& song, TByteWriter& out) {
  if (!song.Message.empty()) {
    // Lines end in a carriage return alone; readers add the line feed.
    std::string text = song.Message;
    for (char& c : text)
      if (c == '\n') c = '\r';
    WriteChunkHeader("text", text.size(), out);
    out.Text(text, text.size());
  }
  if (song.Macros.size() == XmMacroCount) {
    WriteChunkHeader("MIDI", XmMacroCount * XmMacroBytes, out);
    for (const std::string& macro : song.Macros) out.Text(macro, XmMacroBytes);
  }
  bool named = false;
  for (const TXmPattern& pattern : song.Patterns) named = named || !pattern.Name.empty();
  if (named) {
    WriteChunkHeader("PNAM", song.Patterns.size() * 32, out);
    for (const TXmPattern& pattern : song.Patterns) out.Text(pattern.Name, 32);
  }
  if (!song.ChannelNames.empty()) {
    WriteChunkHeader("CNAM", song.ChannelNames.size() * 20, out);
    for (const std::string& name : song.ChannelNames) out.Text(name, 20);
  }
}

}  // namespace

TXmWriteResult WriteXm(const TXmSong& song) {
  TXmWriteResult result;
  result.Error = CheckSong(song);
  if (!result.Error.empty()) return result;
  std::vector<std::uint8_t> bytes;
  TByteWriter out(bytes);
  WriteHeader(song, out);
  for (const TXmPattern& pattern : song.Patterns) {
    result.Error = WritePattern(pattern, out);
    if (!result.Error.empty()) return result;
  }
  for (const TXmInstrument& instrument : song.Instruments) WriteInstrument(instrument, out);
  WriteChunks(song, out);
  result.Bytes = std::move(bytes);
  return result;
}
