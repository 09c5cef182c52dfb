#include "tools/xm_writer/xm_file_writer.h"

namespace {

void PutEnvelopePoints(const TXMEnvelopeWriter& envelope, TByteWriter& out) {
  for (std::size_t k = 0; k < 12; ++k) {
    const auto point = k < envelope.Points.size() ? envelope.Points[k] : std::pair<std::uint16_t, std::uint16_t>{};
    out.U16(point.first);
    out.U16(point.second);
  }
}

std::uint8_t PointCount(const TXMEnvelopeWriter& envelope) {
  return envelope.NumPoints ? *envelope.NumPoints : static_cast<std::uint8_t>(envelope.Points.size());
}

void PutSampleHeader(const TXMSampleWriter& sample, TByteWriter& out) {
  out.U32(sample.Length ? *sample.Length : static_cast<std::uint32_t>(sample.Data.size()));
  out.U32(sample.LoopStart);
  out.U32(sample.LoopLength);
  out.U8(sample.Volume);
  out.U8(static_cast<std::uint8_t>(sample.FineTune));
  out.U8(sample.Type);
  out.U8(sample.Panning);
  out.U8(static_cast<std::uint8_t>(sample.RelativeNote));
  out.U8(sample.Reserved);
  out.Text(sample.Name, 22);
}

// The instrument and its sample headers; the data follows elsewhere.
void PutInstrument(const TXMInstrumentWriter& instrument, TByteWriter& out) {
  const std::size_t start = out.Size();
  const std::uint16_t samples =
      instrument.SampleCount ? *instrument.SampleCount : static_cast<std::uint16_t>(instrument.Samples.size());
  out.U32(instrument.Size ? *instrument.Size : (samples > 0 ? 243 : 29));
  out.Text(instrument.Name, 22);
  out.U8(0);  // type
  out.U16(samples);
  if (samples > 0) {
    out.U32(40);  // sample header size
    for (const std::uint8_t entry : instrument.SampleMap) out.U8(entry);
    PutEnvelopePoints(instrument.VolumeEnvelope, out);
    PutEnvelopePoints(instrument.PanningEnvelope, out);
    out.U8(PointCount(instrument.VolumeEnvelope));
    out.U8(PointCount(instrument.PanningEnvelope));
    out.U8(instrument.VolumeEnvelope.Sustain);
    out.U8(instrument.VolumeEnvelope.LoopStart);
    out.U8(instrument.VolumeEnvelope.LoopEnd);
    out.U8(instrument.PanningEnvelope.Sustain);
    out.U8(instrument.PanningEnvelope.LoopStart);
    out.U8(instrument.PanningEnvelope.LoopEnd);
    out.U8(instrument.VolumeEnvelope.Type);
    out.U8(instrument.PanningEnvelope.Type);
    out.U8(instrument.VibratoType);
    out.U8(instrument.VibratoSweep);
    out.U8(instrument.VibratoDepth);
    out.U8(instrument.VibratoRate);
    out.U16(instrument.FadeOut);
    out.U16(0);  // reserved
  }
  // The sample headers go where the claimed size says, as a loader will look
  // for them there: the header is padded or cut to it.
  if (!instrument.Samples.empty() && instrument.Size) out.Resize(start + *instrument.Size);
  for (const TXMSampleWriter& sample : instrument.Samples) PutSampleHeader(sample, out);
}

void PutSampleData(const TXMInstrumentWriter& instrument, TByteWriter& out) {
  for (const TXMSampleWriter& sample : instrument.Samples) out.Append(sample.Data);
}

void PutPattern(const TXMPatternWriter& pattern, std::uint16_t version, TByteWriter& out) {
  out.U32(version > 0x0102 ? 9 : 8);
  out.U8(0);  // packing type
  if (version > 0x0102) out.U16(pattern.Rows);
  else out.U8(pattern.Rows - 1u);
  out.U16(pattern.PackedSize ? *pattern.PackedSize : static_cast<std::uint16_t>(pattern.Packed.size()));
  out.Append(pattern.Packed);
}

}  // namespace

TXMPatternWriter XMPattern(std::uint16_t rows, TBytes packed) {
  TXMPatternWriter pattern;
  pattern.Rows = rows;
  pattern.Packed = std::move(packed);
  return pattern;
}

TBytes TXMWriter::Build() const {
  TBytes bytes;
  TByteWriter out(bytes);
  out.Text("Extended Module: ", 17);
  out.Text(Title, 20);
  out.U8(0x1A);
  out.Text(Tracker, 20);
  out.U16(Version);
  out.U32(HeaderSize ? *HeaderSize : 276);
  out.U16(SongLength);
  out.U16(Restart);
  out.U16(Channels);
  out.U16(PatternCount ? *PatternCount : static_cast<std::uint16_t>(Patterns.size()));
  out.U16(InstrumentCount ? *InstrumentCount : static_cast<std::uint16_t>(Instruments.size()));
  out.U16(Flags);
  out.U16(Speed);
  out.U16(Tempo);
  for (const std::uint8_t order : Orders) out.U8(order);
  if (Version <= 0x0103) {
    for (const TXMInstrumentWriter& instrument : Instruments) PutInstrument(instrument, out);
    for (const TXMPatternWriter& pattern : Patterns) PutPattern(pattern, Version, out);
    for (const TXMInstrumentWriter& instrument : Instruments) PutSampleData(instrument, out);
  } else {
    for (const TXMPatternWriter& pattern : Patterns) PutPattern(pattern, Version, out);
    for (const TXMInstrumentWriter& instrument : Instruments) {
      PutInstrument(instrument, out);
      PutSampleData(instrument, out);
    }
  }
  out.Append(Trailer);
  return bytes;
}
