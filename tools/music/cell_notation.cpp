#include "tools/music/cell_notation.h"

#include "tools/music/synth_params.h"

namespace {

const char VolumeLetters[] = "-+DUSVPLRM";  // volume-column effects 0x6x .. 0xFx
const char Digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHexByte(const std::string& text, std::size_t at, std::uint8_t& value) {
  const int high = HexDigit(text[at]);
  const int low = HexDigit(text[at + 1]);
  if (high < 0 || low < 0) return false;
  value = static_cast<std::uint8_t>(high * 16 + low);
  return true;
}

std::string Hex(int value, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  std::string text;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += hex[(value >> shift) & 15];
  return text;
}

}  // namespace

bool ParseNote(const std::string& text, std::uint8_t& note) {
  if (text == "..." || text == "---") {
    note = 0;
    return true;
  }
  if (text == "===") {
    note = KeyOffNote;
    return true;
  }
  const int number = ParseNoteName(text);
  note = static_cast<std::uint8_t>(number);
  return number != 0;
}

bool ParseInstrument(const std::string& text, std::uint8_t& instrument) {
  if (text == "..") {
    instrument = 0;
    return true;
  }
  return text.size() == 2 && ParseHexByte(text, 0, instrument) && instrument != 0;
}

bool ParseVolumeColumn(const std::string& text, std::uint8_t& volume) {
  if (text.size() != 2) return false;
  if (text == "..") {
    volume = 0;
    return true;
  }
  // Volumes run 00..40: text that starts with anything but 0..4 is one of the
  // letters, so that D3 is a fine slide rather than the volume D3.
  if (text[0] >= '0' && text[0] <= '4') {
    std::uint8_t value = 0;
    if (!ParseHexByte(text, 0, value) || value > 0x40) return false;
    volume = static_cast<std::uint8_t>(0x10 + value);
    return true;
  }
  const std::string letters = VolumeLetters;
  const std::size_t kind = letters.find(text[0]);
  const int parameter = HexDigit(text[1]);
  if (kind == std::string::npos || parameter < 0) return false;
  volume = static_cast<std::uint8_t>(0x60 + 16 * kind + parameter);
  return true;
}

bool ParseEffect(const std::string& text, std::uint8_t& effect, std::uint8_t& parameter) {
  if (text == "...") {
    effect = parameter = 0;
    return true;
  }
  if (text.size() != 3 || !ParseHexByte(text, 1, parameter)) return false;
  if (text[0] == '\\') {
    effect = EffectNumber(TTarnXMEffect::SmoothMidiMacro);
    return true;
  }
  const std::string digits = Digits;
  const std::size_t number = digits.find(text[0]);
  effect = static_cast<std::uint8_t>(number);
  return number != std::string::npos;
}

std::string FormatCell(const TXmCell& cell) {
  static const char* names[] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
  std::string text;
  if (cell.Note == 0) {
    text += "...";
  } else if (cell.Note == KeyOffNote) {
    text += "===";
  } else if (cell.Note <= 96) {
    text += names[(cell.Note - 1) % 12];
    text += static_cast<char>('0' + (cell.Note - 1) / 12);
  } else {
    text += '?';
    text += Hex(cell.Note, 2);
  }
  text += ' ';
  text += cell.Instrument == 0 ? ".." : Hex(cell.Instrument, 2);
  text += ' ';
  if (cell.VolumeColumn == 0) {
    text += "..";
  } else if (cell.VolumeColumn >= 0x10 && cell.VolumeColumn <= 0x50) {
    text += Hex(cell.VolumeColumn - 0x10, 2);
  } else if (cell.VolumeColumn >= 0x60) {
    text += VolumeLetters[(cell.VolumeColumn >> 4) - 6];
    text += Hex(cell.VolumeColumn & 15, 1);
  } else {
    text += '?';
    text += Hex(cell.VolumeColumn, 2);
  }
  text += ' ';
  if (cell.Effect == 0 && cell.EffectParameter == 0) {
    text += "...";
  } else {
    const bool smooth = cell.Effect == EffectNumber(TTarnXMEffect::SmoothMidiMacro);
    text += smooth ? '\\' : cell.Effect < 36 ? Digits[cell.Effect] : '?';
    text += Hex(cell.EffectParameter, 2);
  }
  return text;
}
