#pragma once
// tarnxm info [--json] FILE: the facts of a module and its subsongs, for a
// person or as JSON.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"

// args are the words after "info". Returns the exit status: 0, 1 when the
// file does not load, 2 for a usage error.
int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// durationMs: the song's length once through, none when it never ends;
// subsongs: the renderer's, the first at order 0.
std::string DescribeModule(const TTarnXMSong& song, std::optional<std::int64_t> durationMs,
                           const std::vector<TTarnXMSubsong>& subsongs);
// One JSON object on one line.
std::string ModuleJson(const TTarnXMSong& song, std::optional<std::int64_t> durationMs,
                       const std::vector<TTarnXMSubsong>& subsongs);
