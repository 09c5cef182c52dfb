// Loads a module, prints its title and renders two seconds of it; fails
// where nothing or only silence came out.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "tarnxm/tarnxm.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarnxm_consumer MODULE\n");
    return 2;
  }
  const TTarnXMLoad load = LoadModuleFile(argv[1]);
  if (!load) {
    std::fprintf(stderr, "tarnxm_consumer: %s: %s\n", argv[1], load.Error.c_str());
    return 1;
  }
  std::printf("%s\n", DescribeSong(*load.Song).Title.c_str());

  TTarnXMRenderer renderer(load.Song);
  const std::size_t frames = 2 * static_cast<std::size_t>(renderer.Options().SampleRate);
  std::vector<std::int16_t> buffer(2 * frames);
  const std::size_t rendered = renderer.Render(buffer.data(), frames);
  if (rendered != frames) {
    std::fprintf(stderr, "tarnxm_consumer: %zu of %zu frames rendered\n", rendered, frames);
    return 1;
  }
  if (std::all_of(buffer.begin(), buffer.end(), [](std::int16_t value) { return value == 0; })) {
    std::fprintf(stderr, "tarnxm_consumer: two seconds of silence\n");
    return 1;
  }
  return 0;
}
