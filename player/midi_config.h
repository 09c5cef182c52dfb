#pragma once
// The MIDI macro table: 153 text entries of 32 bytes, zero-padded with no
// terminator required, in three groups. Only the filter commands of the
// parametered and fixed groups are ever executed.
#include <array>
#include <cstddef>

constexpr std::size_t MacroLength = 32;
constexpr std::size_t GlobalMacros = 0;       // 9 entries: start, stop, tick, note on/off, volume, ...
constexpr std::size_t ParameteredMacros = 9;  // 16 entries, chosen by the channel's active macro
constexpr std::size_t FixedMacros = 25;       // 128 entries, chosen by effect parameters 128..255
constexpr std::size_t MacroCount = 153;

using TTarnXMMidiConfig = std::array<char, MacroCount * MacroLength>;
