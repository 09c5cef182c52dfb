// Mixing cost through the public renderer, in channel-frames per second: a
// song built here holds eight channels of a looping sine played an octave
// above the sample's own rate (a typical step at 44100 Hz), steady, with the
// volume moving on every tick so that ramps run, or through the low-pass
// filter; into mono or stereo output, for each interpolation. The
// sequencer's ticks are a small part of the time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"
#include "tools/xm_writer/xm_writer.h"

namespace {

constexpr int Channels = 8;
constexpr int Rows = 64;
constexpr int SampleFrames = 8192;
constexpr std::size_t Frames = 4096;
// C-5: twice the rate at which the sample plays at C-4.
constexpr std::uint8_t OctaveUp = 61;
constexpr std::uint8_t Tremolo = 7;
// Z: the default macros set the filter's cutoff from parameters 00..7F.
constexpr std::uint8_t FilterMacro = 35;

enum TVariant { Steady, Ramped, Filtered };

TXmInstrument SineInstrument() {
  TXmSample sine;
  sine.Name = "sine";
  for (int k = 0; k < SampleFrames; ++k) sine.Data.push_back(static_cast<std::int16_t>(20000 * std::sin(k * 0.05)));
  sine.Loop = TXmLoop::Forward;
  sine.LoopLength = SampleFrames;
  // Eight channels in phase stay clear of clipping.
  sine.Volume = 16;
  TXmInstrument instrument;
  instrument.Name = "sine";
  instrument.Samples = {sine};
  return instrument;
}

TXmSong BenchSong(TVariant variant) {
  TXmSong song;
  song.Name = "mixer bench";
  song.Channels = Channels;
  song.Orders = {0};
  TXmPattern pattern{"", Rows, std::vector<TXmCell>(Rows * Channels)};
  for (int c = 0; c < Channels; ++c) {
    pattern.Cells[c] = {OctaveUp, 1, 0, 0, 0};
    if (variant == Filtered) pattern.Cells[c] = {OctaveUp, 1, 0, FilterMacro, 0x40};
    if (variant == Ramped)
      for (int row = 0; row < Rows; ++row) {
        pattern.Cells[row * Channels + c].Effect = Tremolo;
        pattern.Cells[row * Channels + c].EffectParameter = 0x84;
      }
  }
  song.Patterns = {pattern};
  song.Instruments = {SineInstrument()};
  return song;
}

void Mixing(benchmark::State& state) {
  const auto interpolation = static_cast<TTarnXMInterpolation>(state.range(0));
  const bool stereo = state.range(1) != 0;
  const auto variant = static_cast<TVariant>(state.range(2));
  const TXmWriteResult written = WriteXm(BenchSong(variant));
  const TTarnXMLoad load = LoadModule(written.Bytes.data(), written.Bytes.size());
  if (!load) {
    state.SkipWithError((written.Error + load.Error).c_str());
    return;
  }
  TTarnXMRenderOptions options;
  options.Stereo = stereo;
  options.Interpolation = interpolation;
  options.EndAction = TTarnXMEndAction::Loop;
  TTarnXMRenderer renderer(load.Song, options);
  std::vector<std::int16_t> out(2 * Frames);
  for (auto _ : state) {
    benchmark::DoNotOptimize(renderer.Render(out.data(), Frames));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Frames) * Channels);
  static const char* const interpolations[] = {"none", "linear", "cubic", "sinc"};
  static const char* const variants[] = {"", " ramp", " low-pass"};
  state.SetLabel(std::string(interpolations[state.range(0)]) + (stereo ? " stereo" : " mono") + variants[variant]);
}

BENCHMARK(Mixing)->ArgsProduct({{0, 1, 2, 3}, {0, 1}, {Steady, Ramped, Filtered}});

}  // namespace
