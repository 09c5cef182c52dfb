#pragma once
// A module as a video: the frames drawn offscreen from the mix's own state
// and piped raw to ffmpeg beside the mix's samples, into a file that appears
// whole or not at all.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"
#include "tools/module_video/module_frame.h"

struct TModuleVideoJob {
  std::string Path;    // .mp4 or .mkv
  std::string Ffmpeg;  // ffmpeg's path
  int FramesPerSecond = 60;
  int Width = 1920;
  int Height = 1080;
  std::shared_ptr<const TTarnXMSong> Song;
  TSongCaption Caption;
  // The mix, where the video starts: its samples are the sound track, and
  // its state at each frame's time is what the frame shows.
  TTarnXMRenderer* Mix = nullptr;
  // Each channel alone in mono, from the same place; none where unheard.
  std::vector<std::optional<TTarnXMRenderer>> Channels;
  std::int64_t SampleFrames = 0;  // of sound at most; the video ends with it
};

struct TModuleVideoResult {
  std::string Error;  // empty on success
  std::int64_t Frames = 0;
  double WallSeconds = 0;
};

// The first sample frame that video frame n covers.
std::int64_t FirstSampleOfFrame(std::int64_t n, int sampleRate, int framesPerSecond);
// The video frames that cover this much sound.
std::int64_t FramesOfVideo(std::int64_t sampleFrames, int sampleRate, int framesPerSecond);

// onFrame is told the frames written so far; stop() is asked between frames
// and ends the export without a file.
TModuleVideoResult ExportModuleVideo(TModuleVideoJob job, const std::function<void(std::int64_t)>& onFrame,
                                     const std::function<bool()>& stop);
