#include "player/mix_routines.h"

#include <utility>

#include "player/mix_routine.h"

namespace {

using mix_detail::CellAxes;
using mix_detail::MixRoutine;

template <TMixAxes A>
constexpr void Place(TMixRoutineTables& tables) {
  const int sampleLayout = A.SampleChannels - 1;
  if constexpr (A.OutputChannels == 1) tables.Mono[A.Interpolation][sampleLayout][A.Ramping][A.Filter] = &MixRoutine<A>;
  else tables.Stereo[A.Interpolation][sampleLayout][A.Ramping][A.Filter][A.DifferentGains] = &MixRoutine<A>;
}

template <int... Cells>
constexpr TMixRoutineTables MakeTables(std::integer_sequence<int, Cells...>) {
  TMixRoutineTables tables{};
  (Place<CellAxes(1, Cells / 2)>(tables), ...);
  (Place<CellAxes(2, Cells)>(tables), ...);
  return tables;
}

constexpr TMixRoutineTables Portable = MakeTables(std::make_integer_sequence<int, 96>{});

}  // namespace

const TMixRoutineTables& PortableMixRoutines() { return Portable; }

TMixRoutine FindMixRoutine(const TMixRoutineTables& tables, const TMixAxes& axes) {
  const int sampleLayout = axes.SampleChannels == 2 ? 1 : 0;
  if (axes.OutputChannels == 1) return tables.Mono[axes.Interpolation][sampleLayout][axes.Ramping][axes.Filter];
  if (axes.OutputChannels == 2)
    return tables.Stereo[axes.Interpolation][sampleLayout][axes.Ramping][axes.Filter][axes.DifferentGains];
  return nullptr;
}

const TMixRoutineTables& MixRoutines() {
  static const TMixRoutineTables& chosen = VectorMixRoutines() ? *VectorMixRoutines() : PortableMixRoutines();
  return chosen;
}
