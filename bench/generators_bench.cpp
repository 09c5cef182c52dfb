// The procedural texture and mesh at start-up, with and without the upload to
// OpenGL. Run under a display (xvfb-run) for the GL cases.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/gl.h"
#include "platform/offscreen_context.h"
#include "resources/intro_scripts.h"
#include "scene/mesh_generator.h"
#include "scene/texture_generator.h"

namespace {

bool HaveContext(benchmark::State& state) {
  static const auto context = std::make_unique<platform::TOffscreenContext>(800, 600);
  if (!context->Ok()) state.SkipWithError(context->Error().c_str());
  return context->Ok();
}

void RunShippedTextureScript(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(RunTextureScript(IntroTextureScript()));
}

void GenerateShippedTexture(benchmark::State& state) {
  if (!HaveContext(state)) return;
  for (auto _ : state) {
    GLuint name = GenerateTexture(IntroTextureScript());
    glFinish();
    state.PauseTiming();
    glDeleteTextures(1, &name);
    state.ResumeTiming();
  }
}

void RunShippedMeshScript(benchmark::State& state) {
  for (auto _ : state) {
    RunMeshScript(IntroMeshScript());
    benchmark::DoNotOptimize(Mesh().Vertices.data());
  }
}

void GenerateMeshOf(benchmark::State& state, std::span<const std::uint8_t> script) {
  if (!HaveContext(state)) return;
  for (auto _ : state) {
    const GLuint list = GenerateMesh(script);
    glFinish();
    state.PauseTiming();
    glDeleteLists(list, 1);
    state.ResumeTiming();
  }
  state.counters["vertices"] = static_cast<double>(Mesh().Vertices.size());
  state.counters["quads"] = static_cast<double>(Mesh().Quads.size());
}

void GenerateShippedMesh(benchmark::State& state) { GenerateMeshOf(state, IntroMeshScript()); }

void GenerateCube255(benchmark::State& state) {
  static const std::vector<std::uint8_t> script{0, 255};
  GenerateMeshOf(state, script);
}

void RunCube255(benchmark::State& state) {
  static const std::vector<std::uint8_t> script{0, 255};
  for (auto _ : state) RunMeshScript(script);
}

}  // namespace

BENCHMARK(RunShippedTextureScript)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(GenerateShippedTexture)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(RunShippedMeshScript)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(GenerateShippedMesh)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(RunCube255)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(GenerateCube255)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
