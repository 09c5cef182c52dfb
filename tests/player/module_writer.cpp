#include "tests/player/module_writer.h"

namespace {

void Put8(TBytes& out, std::uint32_t value) { out.push_back(static_cast<std::uint8_t>(value)); }
void Put16(TBytes& out, std::uint32_t value) {
  Put8(out, value);
  Put8(out, value >> 8);
}
void Put32(TBytes& out, std::uint32_t value) {
  Put16(out, value);
  Put16(out, value >> 16);
}
void Put16BE(TBytes& out, std::uint32_t value) {
  Put8(out, value >> 8);
  Put8(out, value);
}
void PutText(TBytes& out, std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) Put8(out, i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}
void Append(TBytes& out, const TBytes& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void PutEnvelopePoints(TBytes& out, const TXMEnvelopeWriter& envelope) {
  for (std::size_t k = 0; k < 12; ++k) {
    const auto point = k < envelope.Points.size() ? envelope.Points[k] : std::pair<std::uint16_t, std::uint16_t>{};
    Put16(out, point.first);
    Put16(out, point.second);
  }
}

std::uint8_t PointCount(const TXMEnvelopeWriter& envelope) {
  return envelope.NumPoints ? *envelope.NumPoints : static_cast<std::uint8_t>(envelope.Points.size());
}

void PutSampleHeader(TBytes& out, const TXMSampleWriter& sample) {
  Put32(out, sample.Length ? *sample.Length : static_cast<std::uint32_t>(sample.Data.size()));
  Put32(out, sample.LoopStart);
  Put32(out, sample.LoopLength);
  Put8(out, sample.Volume);
  Put8(out, static_cast<std::uint8_t>(sample.FineTune));
  Put8(out, sample.Type);
  Put8(out, sample.Panning);
  Put8(out, static_cast<std::uint8_t>(sample.RelativeNote));
  Put8(out, sample.Reserved);
  PutText(out, sample.Name, 22);
}

// The instrument and its sample headers; the data follows elsewhere.
void PutInstrument(TBytes& out, const TXMInstrumentWriter& instrument) {
  const std::size_t start = out.size();
  const std::uint16_t samples =
      instrument.SampleCount ? *instrument.SampleCount : static_cast<std::uint16_t>(instrument.Samples.size());
  Put32(out, instrument.Size ? *instrument.Size : (samples > 0 ? 243 : 29));
  PutText(out, instrument.Name, 22);
  Put8(out, 0);
  Put16(out, samples);
  if (samples > 0) {
    Put32(out, 40);
    out.insert(out.end(), instrument.SampleMap.begin(), instrument.SampleMap.end());
    PutEnvelopePoints(out, instrument.VolumeEnvelope);
    PutEnvelopePoints(out, instrument.PanningEnvelope);
    Put8(out, PointCount(instrument.VolumeEnvelope));
    Put8(out, PointCount(instrument.PanningEnvelope));
    Put8(out, instrument.VolumeEnvelope.Sustain);
    Put8(out, instrument.VolumeEnvelope.LoopStart);
    Put8(out, instrument.VolumeEnvelope.LoopEnd);
    Put8(out, instrument.PanningEnvelope.Sustain);
    Put8(out, instrument.PanningEnvelope.LoopStart);
    Put8(out, instrument.PanningEnvelope.LoopEnd);
    Put8(out, instrument.VolumeEnvelope.Type);
    Put8(out, instrument.PanningEnvelope.Type);
    Put8(out, instrument.VibratoType);
    Put8(out, instrument.VibratoSweep);
    Put8(out, instrument.VibratoDepth);
    Put8(out, instrument.VibratoRate);
    Put16(out, instrument.FadeOut);
    Put16(out, 0);
  }
  // The sample headers go where the claimed size says, as a loader will look
  // for them there: the header is padded or cut to it.
  if (!instrument.Samples.empty() && instrument.Size) out.resize(start + *instrument.Size);
  for (const TXMSampleWriter& sample : instrument.Samples) PutSampleHeader(out, sample);
}

void PutSampleData(TBytes& out, const TXMInstrumentWriter& instrument) {
  for (const TXMSampleWriter& sample : instrument.Samples) Append(out, sample.Data);
}

void PutPattern(TBytes& out, const TXMPatternWriter& pattern, std::uint16_t version) {
  Put32(out, version > 0x0102 ? 9 : 8);
  Put8(out, 0);
  if (version > 0x0102)
    Put16(out, pattern.Rows);
  else
    Put8(out, pattern.Rows - 1);
  Put16(out, pattern.PackedSize ? *pattern.PackedSize : static_cast<std::uint16_t>(pattern.Packed.size()));
  Append(out, pattern.Packed);
}

}  // namespace

TBytes TXMWriter::Build() const {
  TBytes out;
  PutText(out, "Extended Module: ", 17);
  PutText(out, Title, 20);
  Put8(out, 0x1A);
  PutText(out, "test writer", 20);
  Put16(out, Version);
  Put32(out, HeaderSize ? *HeaderSize : 276);
  Put16(out, SongLength);
  Put16(out, Restart);
  Put16(out, Channels);
  Put16(out, PatternCount ? *PatternCount : static_cast<std::uint16_t>(Patterns.size()));
  Put16(out, InstrumentCount ? *InstrumentCount : static_cast<std::uint16_t>(Instruments.size()));
  Put16(out, Flags);
  Put16(out, Speed);
  Put16(out, Tempo);
  out.insert(out.end(), Orders.begin(), Orders.end());
  if (Version <= 0x0103) {
    for (const TXMInstrumentWriter& instrument : Instruments) PutInstrument(out, instrument);
    for (const TXMPatternWriter& pattern : Patterns) PutPattern(out, pattern, Version);
    for (const TXMInstrumentWriter& instrument : Instruments) PutSampleData(out, instrument);
  } else {
    for (const TXMPatternWriter& pattern : Patterns) PutPattern(out, pattern, Version);
    for (const TXMInstrumentWriter& instrument : Instruments) {
      PutInstrument(out, instrument);
      PutSampleData(out, instrument);
    }
  }
  Append(out, Trailer);
  return out;
}

TXMPatternWriter XMPattern(std::uint16_t rows, TBytes packed) {
  TXMPatternWriter pattern;
  pattern.Rows = rows;
  pattern.Packed = std::move(packed);
  return pattern;
}

TBytes XMCell(std::uint8_t note, std::uint8_t instrument, std::uint8_t volume, std::uint8_t effect,
              std::uint8_t parameter) {
  return {note, instrument, volume, effect, parameter};
}

TBytes EmptyXMCells(int cells) { return TBytes(static_cast<std::size_t>(cells), 0x80); }

TBytes XMChunk(std::string_view id, const TBytes& data, std::optional<std::uint32_t> length) {
  TBytes out;
  PutText(out, id, 4);
  Put32(out, length ? *length : static_cast<std::uint32_t>(data.size()));
  Append(out, data);
  return out;
}

TBytes Delta8(const std::vector<std::int8_t>& values) {
  TBytes out;
  std::int8_t previous = 0;
  for (const std::int8_t value : values) {
    Put8(out, static_cast<std::uint8_t>(value - previous));
    previous = value;
  }
  return out;
}

TBytes Delta16(const std::vector<std::int16_t>& values) {
  TBytes out;
  std::int16_t previous = 0;
  for (const std::int16_t value : values) {
    Put16(out, static_cast<std::uint16_t>(value - previous));
    previous = value;
  }
  return out;
}

int TMODWriter::AddPattern() {
  Patterns.emplace_back(static_cast<std::size_t>(64 * Channels * 4), 0);
  return static_cast<int>(Patterns.size()) - 1;
}

void TMODWriter::SetCell(int pattern, int row, int channel, int instrument, int period, int effect, int parameter) {
  std::uint8_t* cell = &Patterns.at(pattern).at(static_cast<std::size_t>((row * Channels + channel) * 4));
  cell[0] = static_cast<std::uint8_t>((instrument & 0xF0) | (period >> 8 & 0x0F));
  cell[1] = static_cast<std::uint8_t>(period);
  cell[2] = static_cast<std::uint8_t>((instrument & 0x0F) << 4 | (effect & 0x0F));
  cell[3] = static_cast<std::uint8_t>(parameter);
}

TBytes TMODWriter::Build() const {
  const bool fifteen = Signature.empty();
  const std::size_t sampleCount = fifteen ? 15 : 31;
  TBytes out;
  PutText(out, Title, 20);
  const TMODSampleWriter empty;
  for (std::size_t k = 0; k < sampleCount; ++k) {
    const TMODSampleWriter& sample = k < Samples.size() ? Samples[k] : empty;
    PutText(out, "", 22);
    Put16BE(out, sample.LengthWords);
    Put8(out, sample.FineTune);
    Put8(out, sample.Volume);
    Put16BE(out, sample.LoopStartWords);
    Put16BE(out, sample.LoopLengthWords);
  }
  Put8(out, SongLength);
  Put8(out, Restart);
  out.insert(out.end(), Orders.begin(), Orders.end());
  if (!fifteen) PutText(out, Signature, 4);
  for (const TBytes& pattern : Patterns) Append(out, pattern);
  for (const TMODSampleWriter& sample : Samples) {
    if (sample.Data) {
      Append(out, *sample.Data);
    } else {
      for (int k = 0; k < 2 * sample.LengthWords; ++k) Put8(out, static_cast<std::uint32_t>(k));
    }
  }
  return out;
}
