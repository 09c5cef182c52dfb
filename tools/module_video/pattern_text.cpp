#include "tools/module_video/pattern_text.h"

#include <array>

namespace {

constexpr std::int32_t KeyOff = 97;
constexpr char Digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

char Hex(std::int32_t value) { return Digits[value & 0xF]; }

std::string HexByte(std::int32_t value) { return {Hex(value >> 4), Hex(value)}; }

}  // namespace

std::string NoteText(std::int32_t note) {
  static constexpr std::array<const char*, 12> Names{"C-", "C#", "D-", "D#", "E-", "F-",
                                                     "F#", "G-", "G#", "A-", "A#", "B-"};
  if (note == KeyOff) return "===";
  if (note < 1 || note > 96) return "...";
  return Names[static_cast<std::size_t>((note - 1) % 12)] + std::string(1, Digits[(note - 1) / 12]);
}

std::string InstrumentText(std::int32_t instrument) {
  return instrument > 0 && instrument <= 0xFF ? HexByte(instrument) : "..";
}

std::string VolumeText(std::int32_t volume) {
  if (volume >= 0x10 && volume <= 0x50) return HexByte(volume - 0x10);
  // The commands 0x60 to 0xF0, in order.
  static constexpr char Commands[] = "-+DUSVPLRM";
  if (volume >= 0x60 && volume <= 0xFF) return {Commands[(volume >> 4) - 6], Hex(volume)};
  return "..";
}

std::string EffectText(std::int32_t effect, std::int32_t parameter) {
  if (effect == 0 && parameter == 0) return "...";
  // A smooth macro, stored after Z, is written with the backslash.
  const char letter = effect >= 0 && effect < 36 ? Digits[effect] : '\\';
  return letter + HexByte(parameter);
}

std::string CellText(const TTarnXMCell& cell) {
  return NoteText(cell.Note) + " " + InstrumentText(cell.Instrument) + " " + VolumeText(cell.VolumeColumn) + " " +
         EffectText(cell.Effect, cell.Parameter);
}
