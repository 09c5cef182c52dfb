// render_peer MODULE OUT.wav: one pass through the module, rendered by the
// peer player at our mixer's scale, as a 32-bit float WAV (values past full
// scale kept, so that a level meter sees them).
#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/wav_format.h"
#include "tools/console/command_line.h"
#include "tools/xmp_peer/xmp_peer.h"

namespace {

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app(
      "One pass through MODULE rendered by libxmp, a black-box peer player, at our mixer's scale, as a "
      "32-bit float WAV.",
      "render_peer");
  std::string modulePath, wavPath;
  app.add_option("MODULE", modulePath, "the XM or MOD module")->required()->type_name("");
  app.add_option("OUT", wavPath, "the WAV file to write")->required()->type_name("");
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;

  std::ifstream file(modulePath, std::ios::binary);
  const std::vector<std::uint8_t> module{std::istreambuf_iterator<char>(file), {}};
  const TPeerRender render = PeerRender(module);
  if (!render.Error.empty()) {
    std::fprintf(stderr, "render_peer: %s: %s\n", modulePath.c_str(), render.Error.c_str());
    return 1;
  }
  const std::vector<std::uint8_t> header = platform::WavHeader({.Tag = platform::WavFloatPcm,
                                                                .Channels = 2,
                                                                .Rate = static_cast<std::uint32_t>(render.Rate),
                                                                .Bits = 32,
                                                                .FactChunk = true},
                                                               static_cast<std::uint32_t>(render.Frames.size() * 4));
  std::ofstream out(wavPath, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
  for (const float value : render.Frames) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    Put(out, bits, 4);
  }
  if (!out) {
    std::fprintf(stderr, "render_peer: cannot write %s\n", wavPath.c_str());
    return 1;
  }
  std::printf("%s: %.2f s, gain %.4f from the reference module\n", wavPath.c_str(),
              static_cast<double>(render.Frames.size()) / 2.0 / render.Rate, PeerGain());
  return 0;
}
