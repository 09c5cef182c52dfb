// render_music MODULE OUT.wav: one pass through the module rendered by the
// intro's own player, as a 16-bit stereo WAV at 44100 Hz.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/music_render/song_render.h"

namespace {

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: render_music MODULE OUT.wav\n");
    return 1;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> module{std::istreambuf_iterator<char>(file), {}};
  const TSongRender render = RenderSong(module);
  if (!render.Error.empty()) {
    std::fprintf(stderr, "render_music: %s: %s\n", argv[1], render.Error.c_str());
    return 1;
  }
  const std::uint32_t bytes = static_cast<std::uint32_t>(render.Samples.size() * 2);
  std::ofstream out(argv[2], std::ios::binary);
  out.write("RIFF", 4);
  Put(out, 36 + bytes, 4);
  out.write("WAVEfmt ", 8);
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, 2, 2);
  Put(out, static_cast<std::uint32_t>(render.Rate), 4);
  Put(out, static_cast<std::uint32_t>(render.Rate) * 4, 4);
  Put(out, 4, 2);
  Put(out, 16, 2);
  out.write("data", 4);
  Put(out, bytes, 4);
  for (const std::int16_t value : render.Samples) Put(out, static_cast<std::uint16_t>(value), 2);
  if (!out) {
    std::fprintf(stderr, "render_music: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s: %.3f s, peak %lld of 32767%s\n", argv[2], render.Samples.size() / 2.0 / render.Rate,
              static_cast<long long>(render.Peak), render.Peak > 32767 ? ", clipped" : "");
  return 0;
}
