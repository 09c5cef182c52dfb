#include "player/midi_config.h"

#include <algorithm>
#include <cstdio>

#include "player/song.h"

void TTarnXMSong::SetMacro(std::size_t target, std::string_view text) {
  if (target >= MacroCount) return;
  char* slot = MidiConfig.data() + target * MacroLength;
  const std::size_t length = std::min(text.size(), MacroLength);
  std::copy_n(text.data(), length, slot);
  std::fill(slot + length, slot + MacroLength, '\0');
}

void TTarnXMSong::DefaultMacros() {
  MidiConfig.fill('\0');
  SetMacro(GlobalMacros + 0, "FF");
  SetMacro(GlobalMacros + 1, "FC");
  SetMacro(GlobalMacros + 3, "9c n v");
  SetMacro(GlobalMacros + 4, "9c n 0");
  SetMacro(GlobalMacros + 8, "Cc p");
  SetMacro(ParameteredMacros + 0, "F0F000z");
  for (int i = 0; i < 16; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "F0F001%02X", i * 8);
    SetMacro(FixedMacros + i, text);
  }
  MidiConfigLoaded = false;
}
