#include "tools/xm_writer/mod_writer.h"

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
  TBytes bytes;
  TByteWriter out(bytes);
  out.Text(Title, 20);
  const TMODSampleWriter empty;
  for (std::size_t k = 0; k < sampleCount; ++k) {
    const TMODSampleWriter& sample = k < Samples.size() ? Samples[k] : empty;
    out.Text("", 22);  // name
    out.U16BigEndian(sample.LengthWords);
    out.U8(sample.FineTune);
    out.U8(sample.Volume);
    out.U16BigEndian(sample.LoopStartWords);
    out.U16BigEndian(sample.LoopLengthWords);
  }
  out.U8(SongLength);
  out.U8(Restart);
  for (const std::uint8_t order : Orders) out.U8(order);
  if (!fifteen) out.Text(Signature, 4);
  for (const TBytes& pattern : Patterns) out.Append(pattern);
  for (const TMODSampleWriter& sample : Samples) {
    if (sample.Data) {
      out.Append(*sample.Data);
    } else {
      for (int k = 0; k < 2 * sample.LengthWords; ++k) out.U8(static_cast<std::uint32_t>(k));
    }
  }
  return bytes;
}
