// make_music SCORE OUT.xm: synthesises the score's instruments, lays out
// its patterns and writes the module.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/console/command_line.h"
#include "tools/music/score_parser.h"
#include "tools/music/song_builder.h"
#include "tools/music/song_timer.h"
#include "tools/xm_writer/xm_writer.h"

int main(int argc, char** argv) {
  CLI::App app("Synthesises the score's instruments, lays out its patterns and writes the module.", "make_music");
  std::string scorePath, modulePath;
  app.add_option("SCORE", scorePath, "the text score")->required();
  app.add_option("OUT", modulePath, "the XM module to write")->required();
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  std::ifstream file(scorePath, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "make_music: cannot read %s\n", scorePath.c_str());
    return 1;
  }
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  const TScoreParseResult parsed = ParseScore(text);
  if (!parsed.Error.empty()) {
    std::fprintf(stderr, "%s: %s\n", scorePath.c_str(), parsed.Error.c_str());
    return 1;
  }
  const TSongBuildResult built = BuildSong(parsed.Score);
  if (!built.Error.empty()) {
    std::fprintf(stderr, "%s: %s\n", scorePath.c_str(), built.Error.c_str());
    return 1;
  }
  const TXmWriteResult written = WriteXm(built.Song);
  if (!written.Error.empty()) {
    std::fprintf(stderr, "%s: %s\n", scorePath.c_str(), written.Error.c_str());
    return 1;
  }
  std::ofstream out(modulePath, std::ios::binary);
  out.write(reinterpret_cast<const char*>(written.Bytes.data()), static_cast<std::streamsize>(written.Bytes.size()));
  if (!out) {
    std::fprintf(stderr, "make_music: cannot write %s\n", modulePath.c_str());
    return 1;
  }
  const TSongTiming timing = TimeSong(built.Song);
  std::printf("%s: %d channels, %zu patterns, %zu orders, %zu instruments, %zu bytes, %.2f s before it loops\n",
              modulePath.c_str(), built.Song.Channels, built.Song.Patterns.size(), built.Song.Orders.size(),
              built.Song.Instruments.size(), written.Bytes.size(), timing.Seconds);
  return 0;
}
