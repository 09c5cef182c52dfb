#pragma once
// One input of tarnxm render, loaded and rendered to its file, or to one
// file per channel for --stems. Runs on a worker thread: it reports through
// its progress counters and its result, and writes nothing to the console.
#include <atomic>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tools/tarnxm/render_options.h"

struct TJobProgress {
  std::atomic<std::int64_t> Done{0};
  std::atomic<std::int64_t> Expected{0};  // 0 until the length is known
};

struct TJobResult {
  bool Ok = false;
  bool Interrupted = false;
  // Whole lines for the console, "tarnxm: " included.
  std::vector<std::string> Lines;
};

// output: from OutputPaths. standardOutput receives the audio for "-o -".
TJobResult RenderJob(const TRenderOptions& options, const std::string& input, const std::string& output,
                     std::ostream& standardOutput, TJobProgress& progress);
