#pragma once
// tarnxm info [--json] FILE: the facts of a module and its subsongs, for a
// person or as JSON.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"

namespace CLI {
class App;
}

struct TInfoOptions {
  std::string Path;
  bool Json = false;
};

// The info command on the tool, set into options as it is read.
CLI::App* AddInfoCommand(CLI::App& tool, TInfoOptions& options);

// Returns the exit status: 0, or 1 when the file does not load.
int RunInfo(const TInfoOptions& options, std::ostream& out, std::ostream& err);

// durationMs: the song's length once through, none when it never ends;
// subsongs: the renderer's, the first at order 0.
std::string DescribeModule(const TTarnXMSong& song, std::optional<std::int64_t> durationMs,
                           const std::vector<TTarnXMSubsong>& subsongs);
// One JSON object on one line.
std::string ModuleJson(const TTarnXMSong& song, std::optional<std::int64_t> durationMs,
                       const std::vector<TTarnXMSubsong>& subsongs);
