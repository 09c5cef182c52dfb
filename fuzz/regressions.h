#pragma once
// Inputs that found faults or reach the hard cases of a parser, built by the
// project's own writers. make_seeds writes each fuzzer's into
// BUILD/regressions/<fuzzer>/, and those quick to run among its seeds as
// well; every fuzz run first runs each fuzzer over its own once.
#include <cstdint>
#include <string>
#include <vector>

struct TRegression {
  std::string Name;
  std::vector<std::uint8_t> Bytes;
  // A run of it takes hundreds of milliseconds under the sanitizers: the
  // fuzzer would spend its time on its mutations.
  bool Slow = false;
};

std::vector<TRegression> ModuleRegressions();
std::vector<TRegression> BmpRegressions();
std::vector<TRegression> TgaRegressions();
std::vector<TRegression> JpegRegressions();
std::vector<TRegression> TextureScriptRegressions();
std::vector<TRegression> MeshScriptRegressions();
std::vector<TRegression> ScrollerTextRegressions();
