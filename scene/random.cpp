#include "scene/random.h"

namespace {

std::uint32_t State = 0;

}  // namespace

std::uint32_t RandomBelow(std::uint32_t n) {
  State = State * 0x08088405u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(State) * n) >> 32);
}

std::uint32_t RandomState() { return State; }

void SetRandomState(std::uint32_t state) { State = state; }
