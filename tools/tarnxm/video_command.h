#pragma once
// tarnxm video FILE -o OUT.mp4|OUT.mkv: the song as a video, with one
// oscilloscope per channel and its pattern scrolling past, and the song's
// mix, the same samples as tarnxm render's, as the sound track.
#include <optional>
#include <ostream>
#include <string>

#include "tools/tarnxm/sound_options.h"

namespace CLI {
class App;
}

struct TVideoCommandOptions {
  std::string Input;
  std::string Output;
  int FramesPerSecond = 60;
  int Width = 1920;
  int Height = 1080;
  std::optional<double> Seconds;  // plays on past the song's end
  TSoundOptions Sound;
};

CLI::App* AddVideoCommand(CLI::App& tool, TVideoCommandOptions& options);

// Returns the exit status: 0; 1 when the file does not load, ffmpeg or the
// display is missing, or the video cannot be written; 130 when interrupted.
// progress draws a bar on err, for a terminal; the closing line goes to out.
int RunVideo(const TVideoCommandOptions& options, std::ostream& out, std::ostream& err, bool progress);
