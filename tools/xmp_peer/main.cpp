// render_peer MODULE OUT.wav: one pass through the module, rendered by the
// peer player at our mixer's scale, as a 32-bit float WAV (values past full
// scale kept, so that a level meter sees them).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/xmp_peer/xmp_peer.h"

namespace {

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: render_peer MODULE OUT.wav\n");
    return 1;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> module{std::istreambuf_iterator<char>(file), {}};
  const TPeerRender render = PeerRender(module);
  if (!render.Error.empty()) {
    std::fprintf(stderr, "render_peer: %s: %s\n", argv[1], render.Error.c_str());
    return 1;
  }
  const std::uint32_t bytes = static_cast<std::uint32_t>(render.Frames.size() * 4);
  std::ofstream out(argv[2], std::ios::binary);
  const std::uint32_t frames = static_cast<std::uint32_t>(render.Frames.size() / 2);
  out.write("RIFF", 4);
  Put(out, 50 + bytes, 4);
  out.write("WAVEfmt ", 8);
  Put(out, 18, 4);
  Put(out, 3, 2);  // IEEE float
  Put(out, 2, 2);
  Put(out, static_cast<std::uint32_t>(render.Rate), 4);
  Put(out, static_cast<std::uint32_t>(render.Rate) * 8, 4);
  Put(out, 8, 2);
  Put(out, 32, 2);
  Put(out, 0, 2);  // no extension
  out.write("fact", 4);  // the frame count that formats other than PCM carry
  Put(out, 4, 4);
  Put(out, frames, 4);
  out.write("data", 4);
  Put(out, bytes, 4);
  for (const float value : render.Frames) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    Put(out, bits, 4);
  }
  if (!out) {
    std::fprintf(stderr, "render_peer: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s: %.2f s, gain %.4f from the reference module\n", argv[2],
              static_cast<double>(render.Frames.size()) / 2.0 / render.Rate, PeerGain());
  return 0;
}
