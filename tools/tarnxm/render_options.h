#pragma once
// The words of tarnxm render: the files, where they go, how long, in what
// format, on how many threads, and the sound options.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/tarnxm/audio_writer.h"
#include "tools/tarnxm/sound_options.h"

namespace CLI {
class App;
}

struct TRenderOptions {
  std::vector<std::string> Inputs;
  std::string Output;  // -o: one file, or "-" for the standard output
  std::string OutDir;
  std::string StemsDir;
  std::optional<double> Seconds;  // plays on past the song's end
  TSampleFormat Format = TSampleFormat::S16;
  std::optional<TContainer> Container;  // default: from -o's extension, else WAV
  std::int32_t Jobs = 0;                // 0: one for each core
  TSoundOptions Sound;
};

// The render command on the tool, set into options as it is read; options
// that do not make a render together are a usage error.
CLI::App* AddRenderCommand(CLI::App& tool, TRenderOptions& options);

// The container the options ask for.
TContainer ChosenContainer(const TRenderOptions& options);

// Where each input goes, in the order of the inputs: the -o file, or DIR/NAME.EXT
// under --out-dir, or for --stems the first part of each stem's name,
// DIR/NAME (the stems add -01.EXT, -02.EXT, ...).
std::vector<std::string> OutputPaths(const TRenderOptions& options);

// --seconds TIME on a command that renders: exactly that long, playing on
// past the song's end.
void AddSecondsOption(CLI::App& command, std::optional<double>& seconds);
// Why the sound options would render for ever without a length; empty when
// they would not.
std::string CheckEndless(const TSoundOptions& sound, const std::optional<double>& seconds);
