#pragma once
// A pattern cell as the writer holds it and as the engine gives it back,
// side by side in one form, so that a test compares every field at once.
#include <array>
#include <cstdint>

#include "tarnxm/tarnxm.h"
#include "tools/xm_writer/xm_song.h"

using TCellFields = std::array<std::int32_t, 5>;

inline TCellFields Fields(const TXmCell& cell) {
  return {cell.Note, cell.Instrument, cell.VolumeColumn, cell.Effect, cell.EffectParameter};
}

inline TCellFields Fields(const TTarnXMCell& cell) {
  return {cell.Note, cell.Instrument, cell.VolumeColumn, cell.Effect, cell.Parameter};
}
