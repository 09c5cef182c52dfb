#pragma once
// The effect column's numbers as the module writer stores them, from the
// engine's names for the commands.
#include <cstdint>

#include "tarnxm/tarnxm.h"

constexpr std::uint8_t EffectNumber(TTarnXMEffect effect) { return static_cast<std::uint8_t>(effect); }

// An extended command's parameter: the sub-command in the high nibble, its
// value in the low one.
constexpr std::uint8_t ExtendedParameter(TTarnXMExtendedEffect command, int value) {
  return static_cast<std::uint8_t>(static_cast<int>(command) << 4 | (value & 15));
}
