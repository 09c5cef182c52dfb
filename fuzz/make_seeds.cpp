// make_seeds SOURCE_DIR BUILD_DIR: the fuzzers' starting inputs, all made by
// the project's own writers: the intro's resources and scripts, a short cut
// of its music, small modules and pictures built field by field, and the
// regression inputs quick to run, in one folder per fuzzer under
// BUILD_DIR/seeds; and each fuzzer's regression inputs (fuzz/regressions.h)
// under BUILD_DIR/regressions.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/regressions.h"
#include "platform/resources.h"
#include "resources/intro_scripts.h"
#include "tests/textures/image_bytes.h"
#include "tools/console/command_line.h"
#include "tools/music/score_parser.h"
#include "tools/music/song_builder.h"
#include "tools/scripts/script_sources.h"
#include "tools/xm_writer/byte_writer.h"
#include "tools/xm_writer/mod_writer.h"
#include "tools/xm_writer/rich_xm.h"
#include "tools/xm_writer/xm_file_writer.h"
#include "tools/xm_writer/xm_writer.h"

namespace {

namespace fs = std::filesystem;

bool Failed = false;

void Write(const fs::path& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(folder);
  std::ofstream file(folder / name, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) {
    std::fprintf(stderr, "make_seeds: cannot write %s\n", (folder / name).c_str());
    Failed = true;
  }
}

std::vector<std::uint8_t> Resource(const char* name, const char* type) {
  const platform::TResource* resource = platform::FindResource(name, type);
  if (!resource) return {};
  return {resource->Data.begin(), resource->Data.end()};
}

// Every effect 0..37 with a few parameters, and volume-column commands, over
// the channels of a 64-row pattern.
TBytes EffectCells(int channels) {
  TBytes cells;
  for (int row = 0; row < 64; ++row)
    for (int channel = 0; channel < channels; ++channel) {
      const int k = row * channels + channel;
      const auto note = static_cast<std::uint8_t>(k % 7 == 6 ? 97 : 1 + (k * 13) % 96);
      const auto instrument = static_cast<std::uint8_t>(1 + k % 3);
      const auto volume = static_cast<std::uint8_t>(0x10 + (k * 11) % 0xF0);
      const auto effect = static_cast<std::uint8_t>(k % 38);
      const auto parameter = static_cast<std::uint8_t>((k * 37) % 256);
      const TBytes cell = XMCell(note, instrument, volume, effect, parameter);
      cells.insert(cells.end(), cell.begin(), cell.end());
    }
  return cells;
}

TBytes WrittenXM(std::uint16_t version) {
  TXMWriter writer = RichXM(version, 4, XMPattern(64, EffectCells(4)),
                            {"text", "MIDI", "PNAM", "CNAM", "CHFX", "FX01", "EQFX", "MODU"});
  writer.Title = "seed";
  writer.Restart = 1;
  TXMInstrumentWriter& lead = writer.Instruments[0];
  lead.VibratoType = 1;
  lead.VibratoSweep = 4;
  lead.VibratoDepth = 8;
  lead.VibratoRate = 16;
  lead.FadeOut = 256;
  return writer.Build();
}

TBytes WrittenMOD(const std::string& signature, int channels) {
  TMODWriter writer;
  writer.Signature = signature;
  writer.Channels = channels;
  writer.SongLength = 2;
  writer.Orders[1] = 1;
  writer.AddPattern();
  writer.AddPattern();
  for (int row = 0; row < 64; ++row)
    writer.SetCell(row / 32, row % 32 * 2, row % channels, 1 + row % 2, 113 + (row * 97) % 800, row % 16,
                   (row * 29) % 256);
  writer.Samples = {{8, 3, 64, 2, 4, std::nullopt}, {16, 12, 32, 0, 1, std::nullopt}};
  return writer.Build();
}

// The intro's music cut short: the first bar of its first two orders, and
// samples of at most 128 frames, so that it fits the module fuzzer's inputs
// and plays through in a few hundred ticks.
std::vector<std::uint8_t> ShortIntroMusic(const fs::path& score) {
  std::ifstream file(score, std::ios::binary);
  const TScoreParseResult parsed = ParseScore({std::istreambuf_iterator<char>(file), {}});
  if (!parsed.Error.empty()) return {};
  TSongBuildResult built = BuildSong(parsed.Score);
  if (!built.Error.empty()) return {};
  TXmSong& song = built.Song;
  song.Orders.resize(std::min<std::size_t>(song.Orders.size(), 2));
  std::vector<TXmPattern> patterns;
  for (std::uint8_t& order : song.Orders) {
    TXmPattern& bar = patterns.emplace_back(song.Patterns[order]);
    bar.Rows = std::min(bar.Rows, 16);
    bar.Cells.resize(static_cast<std::size_t>(bar.Rows * song.Channels));
    order = static_cast<std::uint8_t>(patterns.size() - 1);
  }
  song.Patterns = patterns;
  song.RestartPosition = 0;
  for (TXmInstrument& instrument : song.Instruments)
    for (TXmSample& sample : instrument.Samples) {
      constexpr std::uint32_t Frames = 128;
      if (sample.Data.size() <= Frames) continue;
      sample.Data.resize(Frames);
      sample.LoopStart = std::min(sample.LoopStart, Frames / 2);
      sample.LoopLength = std::min(sample.LoopLength, Frames - sample.LoopStart);
    }
  return WriteXm(song).Bytes;
}

TBytes TgaPixels(int count, int bytesPerPixel) {
  TBytes pixels;
  for (int k = 0; k < count * bytesPerPixel; ++k) pixels.push_back(static_cast<std::uint8_t>(k * 41));
  return pixels;
}

// Runs of 3 and literal packets of 2 pixels.
TBytes TgaRunLength(int packets, int bytesPerPixel) {
  TBytes bytes;
  for (int p = 0; p < packets; ++p) {
    bytes.push_back(p % 2 ? 0x82 : 0x01);
    const TBytes pixel = TgaPixels(p % 2 ? 1 : 2, bytesPerPixel);
    bytes.insert(bytes.end(), pixel.begin(), pixel.end());
  }
  return bytes;
}

std::vector<std::uint8_t> Assembled(const TAssembly& assembly) {
  if (!assembly.Error.empty()) {
    std::fprintf(stderr, "make_seeds: %s\n", assembly.Error.c_str());
    Failed = true;
  }
  return assembly.Bytes;
}

std::vector<std::uint8_t> ClipBox(float minimum, float maximum) {
  std::vector<std::uint8_t> bytes{0xFF};
  for (const float bound : {minimum, minimum, minimum, maximum, maximum, maximum}) {
    const auto bits = std::bit_cast<std::uint32_t>(bound);
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
  }
  bytes.push_back(0xFF);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app(
      "Writes the fuzzers' starting inputs to BUILD_DIR/seeds and their regression inputs to "
      "BUILD_DIR/regressions.",
      "make_seeds");
  std::string sourceDir, buildDir;
  app.add_option("SOURCE_DIR", sourceDir, "the project's source tree")->required();
  app.add_option("BUILD_DIR", buildDir, "the fuzzers' build tree")->required();
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  const fs::path source = sourceDir;
  const fs::path out = fs::path(buildDir) / "seeds";

  const fs::path modules = out / "module";
  Write(modules, "intro-short.xm", ShortIntroMusic(source / "resources/music/driftlow.txt"));
  Write(modules, "written-0104.xm", WrittenXM(0x0104));
  Write(modules, "written-0103.xm", WrittenXM(0x0103));
  Write(modules, "written-0102.xm", WrittenXM(0x0102));
  Write(modules, "mk.mod", WrittenMOD("M.K.", 4));
  Write(modules, "6chn.mod", WrittenMOD("6CHN", 6));
  Write(modules, "12ch.mod", WrittenMOD("12CH", 12));
  Write(modules, "fifteen.mod", WrittenMOD("", 4));

  Write(out / "bmp", "font.bmp", Resource("FONT", "BMP"));
  Write(out / "bmp", "3x2.bmp", BmpFile({3, 2, 24, 0, 0, 0}, TgaPixels(8, 3)));
  Write(out / "bmp", "palette.bmp", BmpFile({2, 2, 24, 0, 16, 2}, TgaPixels(8, 3)));

  Write(out / "tga", "3x2.tga", TgaFile({0, 0, 2, 3, 2, 24}, TgaPixels(6, 3)));
  Write(out / "tga", "3x2-alpha.tga", TgaFile({4, 0, 2, 3, 2, 32}, TgaPixels(7, 4)));
  Write(out / "tga", "rle.tga", TgaFile({0, 0, 10, 5, 3, 24}, TgaRunLength(6, 3)));
  Write(out / "tga", "rle-alpha.tga", TgaFile({0, 0, 10, 5, 3, 32}, TgaRunLength(6, 4)));

  Write(out / "jpeg", "logo.jpg", Resource("LOGO", "JPEG"));
  Write(out / "jpeg", "grey.jpg", JpegFile(9, 5, 1, TgaPixels(45, 1)));
  Write(out / "jpeg", "rgb.jpg", JpegFile(17, 9, 3, TgaPixels(17 * 9, 3)));
  Write(out / "jpeg", "cmyk.jpg", JpegFile(4, 4, 4, TgaPixels(16, 4)));

  Write(out / "scroller_text", "intro.text", Resource("TEXT", "TEXT"));
  Write(out / "scroller_text", "two-lines.text", {2, 0, 0, 0, 3, 'o', 'n', 'e', 3, 't', 'w', 'o'});

  // The intro's scripts ask for more work than the fuzzers run; shorter ones
  // in the same vein stand beside them.
  const auto intro = [](std::span<const std::uint8_t> script) { return std::vector(script.begin(), script.end()); };
  Write(out / "texture_script", "intro.bin", intro(IntroTextureScript()));
  Write(out / "texture_script", "ring.bin",
        Assembled(AssembleTextureScript("Bitmap 0 ring 128 128 88.5 113.5\nBlur 0 x2\n")));
  Write(out / "texture_script", "paint.bin",
        Assembled(AssembleTextureScript("FillColor 0 10 20 30\nNoiseRGB 1\nNoiseMono 2 40 50 60\n"
                                        "SinePlasma 0 1 2 3 4\nSineRemap 0\nBlur 1\nInvert 0\nPixelate 1 8\n")));
  Write(out / "texture_script", "layers.bin",
        Assembled(AssembleTextureScript("LayerControl 1 2 128\nLayerControl 2 4\nLayerControl 2 5\n"
                                        "Bitmap 2 ring 40 40 10 20\nWarpedPlasma 0 9 8 7 6 5\n"
                                        "RandomDots 1 255 0 0 50\nLayerControl 0 6\nLayerControl 0 0\n")));

  Write(out / "mesh_script", "intro.bin", intro(IntroMeshScript()));
  Write(out / "mesh_script", "small-cube.bin",
        Assembled(AssembleMeshScript("Cube 4\nSmoothPositions 0 x2\nDeform 1\nShrink 0\nSmoothTexCoords 0\n")));
  Write(out / "mesh_script", "shapes.bin",
        Assembled(AssembleMeshScript("Spindle 3\nGrow 0\nSmoothTexCoords 0\nDeform 3\nCube 2\nDeform 4\n")));
  Write(out / "mesh_script", "clipped.bin",
        Joined({Assembled(AssembleMeshScript("Cube 3\n")), ClipBox(-0.5f, 0.5f),
                Assembled(AssembleMeshScript("Deform 0\nSmoothPositions 0\nShrink 0\nDeform 2\n"))}));

  // Written afresh, so that a regression renamed leaves no copy behind.
  const fs::path regressions = fs::path(buildDir) / "regressions";
  fs::remove_all(regressions);
  const std::pair<const char*, std::vector<TRegression>> targets[] = {{"module", ModuleRegressions()},
                                                                      {"bmp", BmpRegressions()},
                                                                      {"tga", TgaRegressions()},
                                                                      {"jpeg", JpegRegressions()},
                                                                      {"texture_script", TextureScriptRegressions()},
                                                                      {"mesh_script", MeshScriptRegressions()},
                                                                      {"scroller_text", ScrollerTextRegressions()}};
  for (const auto& [target, inputs] : targets)
    for (const TRegression& input : inputs) {
      Write(regressions / target, input.Name, input.Bytes);
      if (!input.Slow) Write(out / target, "regression-" + input.Name, input.Bytes);
    }
  return Failed ? 1 : 0;
}
