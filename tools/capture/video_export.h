#pragma once
// The intro as a video: frames from the capture's steady clock piped raw to
// ffmpeg, with the music rendered offline for the same span; without ffmpeg a
// PNG per frame and a WAV file.
#include <cstdint>
#include <functional>
#include <string>

#include "tools/capture/key_script.h"

struct TVideoOptions {
  std::string Path;    // .mp4, .mkv or .gif
  std::string Ffmpeg;  // ffmpeg's path; empty writes PNG frames and a WAV file instead
  int FramesPerSecond = 60;
  std::int64_t FirstFrame = 0;  // frames before it are drawn but not written
  std::int64_t Frames = 3600;
  int Width = 800;
  int Height = 600;
  TKeyScript Keys;
};

struct TVideoResult {
  std::string Error;  // empty on success
  std::int64_t Frames = 0;
  double WallSeconds = 0;
  // Where the frames and the music went without ffmpeg.
  std::string FramesFolder;
  std::string WavPath;
};

// The music's frames from the start of the intro to the start of video frame n.
std::int64_t SampleFramesBefore(std::int64_t n, int framesPerSecond);

// onFrame is told how many frames have been drawn so far, those before
// FirstFrame included.
TVideoResult ExportVideo(const TVideoOptions& options, const std::function<void(std::int64_t)>& onFrame);
