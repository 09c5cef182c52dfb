#include "scene/random.h"

std::uint32_t TRandom::Below(std::uint32_t n) {
  State_ = State_ * 0x08088405u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(State_) * n) >> 32);
}
