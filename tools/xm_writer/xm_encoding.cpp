#include "tools/xm_writer/xm_encoding.h"

#include <type_traits>

TBytes XMCell(std::uint8_t note, std::uint8_t instrument, std::uint8_t volume, std::uint8_t effect,
              std::uint8_t parameter) {
  return {note, instrument, volume, effect, parameter};
}

TBytes EmptyXMCells(int cells) { return TBytes(static_cast<std::size_t>(cells), 0x80); }

void PackCell(const TXmCell& cell, TBytes& out) {
  const std::uint8_t fields[5] = {cell.Note, cell.Instrument, cell.VolumeColumn, cell.Effect, cell.EffectParameter};
  std::uint8_t mask = 0x80;
  for (int i = 0; i < 5; ++i)
    if (fields[i] != 0) mask = static_cast<std::uint8_t>(mask | 1 << i);
  TByteWriter writer(out);
  if (mask == 0x9F && cell.Note < 0x80) {
    writer.Append(XMCell(cell.Note, cell.Instrument, cell.VolumeColumn, cell.Effect, cell.EffectParameter));
    return;
  }
  writer.U8(mask);
  for (int i = 0; i < 5; ++i)
    if (mask & (1 << i)) writer.U8(fields[i]);
}

namespace {

template <typename TValue>
TBytes Delta(const std::vector<TValue>& values) {
  TBytes out;
  TByteWriter writer(out);
  TValue previous = 0;
  for (const TValue value : values) {
    const auto delta = static_cast<std::make_unsigned_t<TValue>>(value - previous);
    if constexpr (sizeof(TValue) == 1) writer.U8(delta);
    else writer.U16(delta);
    previous = value;
  }
  return out;
}

}  // namespace

TBytes Delta8(const std::vector<std::int8_t>& values) { return Delta(values); }

TBytes Delta16(const std::vector<std::int16_t>& values) { return Delta(values); }

TBytes XMChunk(std::string_view id, const TBytes& data, std::optional<std::uint32_t> length) {
  TBytes out;
  TByteWriter writer(out);
  writer.Text(id, 4);
  writer.U32(length ? *length : static_cast<std::uint32_t>(data.size()));
  writer.Append(data);
  return out;
}
