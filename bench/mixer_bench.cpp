// Throughput of the mix routines in channel-frames per second: a mono
// sample into stereo output at a typical step (a note an octave above the
// sample's own rate at 44100 Hz), for each interpolation, with and without
// a ramp and the filter, the vectorised routine where the processor has it
// and the portable one.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "player/channel.h"
#include "player/interpolation_tables.h"
#include "player/mix_routines.h"
#include "player/sample.h"

namespace {

constexpr int Frames = 4096;
constexpr int SampleFrames = 8192;

void MixRoutineThroughput(benchmark::State& state) {
  const auto interpolation = static_cast<int>(state.range(0));
  const bool ramping = state.range(1) != 0;
  const auto filter = static_cast<int>(state.range(2));
  const bool vector = state.range(3) != 0;
  if (vector && !VectorMixRoutines()) {
    state.SkipWithError("no vectorised routines on this processor");
    return;
  }
  static const TTarnXMCubicSpline cubic;
  static const TTarnXMWindowedFIR sinc;
  TTarnXMSample sample;
  sample.Length = SampleFrames;
  sample.AllocateData(SampleFrames);
  for (int k = 0; k < SampleFrames; ++k) sample.Data[k] = static_cast<std::int32_t>(20000 * std::sin(k * 0.05));
  sample.PrepareForInterpolation();
  TTarnXMChannel channel(nullptr, 0);
  channel.Sample = &sample;
  channel.MixIncrement = static_cast<std::int64_t>(8363.0 * 2 / 44100 * 4294967296.0);
  channel.VolumeLeft = 1500;
  channel.VolumeRight = 900;
  channel.FilterA0 = 600;
  channel.FilterB0 = 4600;
  channel.FilterB1 = -1100;
  const TMixAxes axes{2, interpolation, 1, ramping, filter, true};
  const TMixRoutine routine = FindMixRoutine(vector ? *VectorMixRoutines() : PortableMixRoutines(), axes);
  const std::int32_t* table = interpolation == 2   ? cubic.Table.data()
                              : interpolation == 3 ? sinc.Table.data()
                                                   : nullptr;
  std::vector<std::int64_t> out(2 * Frames);
  for (auto _ : state) {
    channel.Position = 0;
    channel.RampLeft = 0;
    channel.RampRight = 0;
    channel.RampStepLeft = 1500 * 4096 / Frames;
    channel.RampStepRight = 900 * 4096 / Frames;
    std::int64_t* pointer = out.data();
    routine(pointer, Frames, channel, table);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * Frames);
  static const char* const names[] = {"none", "linear", "cubic", "sinc"};
  state.SetLabel(std::string(names[interpolation]) + (ramping ? " ramp" : "") +
                 (filter == 1   ? " low-pass"
                  : filter == 2 ? " high-pass"
                                : "") +
                 (vector ? " avx2" : " portable"));
}

BENCHMARK(MixRoutineThroughput)->ArgsProduct({{0, 1, 2, 3}, {0, 1}, {0, 1}, {1, 0}});

}  // namespace
