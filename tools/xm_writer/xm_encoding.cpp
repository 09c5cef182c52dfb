#include "tools/xm_writer/xm_encoding.h"

void PackCell(const TXmCell& cell, std::vector<std::uint8_t>& out) {
  const std::uint8_t fields[5] = {cell.Note, cell.Instrument, cell.VolumeColumn, cell.Effect, cell.EffectParameter};
  std::uint8_t mask = 0x80;
  for (int i = 0; i < 5; ++i)
    if (fields[i] != 0) mask |= 1 << i;
  if (mask == 0x9F && cell.Note < 0x80) {
    out.insert(out.end(), fields, fields + 5);
    return;
  }
  out.push_back(mask);
  for (int i = 0; i < 5; ++i)
    if (mask & (1 << i)) out.push_back(fields[i]);
}

std::vector<std::uint8_t> DeltaEncode8(const std::vector<std::int16_t>& values) {
  std::vector<std::uint8_t> out;
  out.reserve(values.size());
  std::uint8_t previous = 0;
  for (const std::int16_t value : values) {
    const auto current = static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8);
    out.push_back(static_cast<std::uint8_t>(current - previous));
    previous = current;
  }
  return out;
}

std::vector<std::uint8_t> DeltaEncode16(const std::vector<std::int16_t>& values) {
  std::vector<std::uint8_t> out;
  out.reserve(values.size() * 2);
  std::uint16_t previous = 0;
  for (const std::int16_t value : values) {
    const auto current = static_cast<std::uint16_t>(value);
    const auto delta = static_cast<std::uint16_t>(current - previous);
    out.push_back(static_cast<std::uint8_t>(delta));
    out.push_back(static_cast<std::uint8_t>(delta >> 8));
    previous = current;
  }
  return out;
}
