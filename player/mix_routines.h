#pragma once
// The mix routines: one straight loop for every combination of output
// layout, interpolation, sample layout, ramping, filter and (stereo output)
// equal or different gains, so that no mode is tested per frame.
#include <cstdint>

class TTarnXMChannel;

// Adds count (at least 1) frames of the channel at out and leaves out after
// them; advances the channel's Position, ramp gains and filter history.
// table is the first row of the interpolation table in use, if any.
using TMixRoutine = void (*)(std::int64_t*& out, std::int32_t count, TTarnXMChannel& channel,
                             const std::int32_t* table);

enum TMixFilter { NoFilter = 0, LowPassFilter = 1, HighPassFilter = 2 };

struct TMixAxes {
  int OutputChannels;  // 1 or 2
  int Interpolation;   // 0 none, 1 linear, 2 cubic spline, 3 windowed sinc
  int SampleChannels;  // 1 or 2
  bool Ramping;
  int Filter;           // TMixFilter
  bool DifferentGains;  // stereo output only
};

// Indexed [interpolation][sample layout][ramping][filter], and for stereo
// output [gains] innermost; sample layout 0 is mono, gains 0 equal.
using TMonoMixTable = TMixRoutine[4][2][2][3];
using TStereoMixTable = TMixRoutine[4][2][2][3][2];

struct TMixRoutineTables {
  TMonoMixTable Mono;
  TStereoMixTable Stereo;
};

// The portable routines, plain loops of one template.
const TMixRoutineTables& PortableMixRoutines();
// The same grid with the unfiltered routines vectorised over output frames
// for processors with AVX2 (the filter's feedback leaves the filtered ones
// portable); null where the processor or the build lacks it.
const TMixRoutineTables* VectorMixRoutines();
// What the mixer uses: the vector routines where the processor has them.
const TMixRoutineTables& MixRoutines();
// A routine of a table by its axes.
TMixRoutine FindMixRoutine(const TMixRoutineTables& tables, const TMixAxes& axes);
