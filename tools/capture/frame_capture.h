#pragma once
// Renders the intro's frames from a virtual clock at a fixed frame rate, as a
// steady run at that rate would have drawn them: the main loop's smoothing of
// the scene time, the frame through the intro's hooks, then HandleKeys, with
// scripted key presses applied before the frames they fall on.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/offscreen_context.h"
#include "tools/capture/key_script.h"

struct TCapturedFrame {
  std::int32_t Time;
  std::vector<std::uint8_t> Pixels;  // RGB, rows top to bottom
};

class TFrameCapture {
 public:
  // Needs a current context; brings the intro's state back to what a fresh
  // process has, then runs its start-up with the viewport at the context's
  // size. The music that the start-up starts is stopped at once: a capture
  // renders it offline (TIntroMusic).
  explicit TFrameCapture(platform::TOffscreenContext& context, int framesPerSecond = 60, TKeyScript keys = {});
  TFrameCapture(const TFrameCapture&) = delete;
  TFrameCapture& operator=(const TFrameCapture&) = delete;

  // Runs the loop on until the scene time reaches `time`, then draws that
  // frame with the scene time exactly `time` and reads it back. Times must not
  // go backwards between calls. For a time that a steady run reaches itself,
  // this is the frame that NextFrame gives there.
  TCapturedFrame CaptureAt(std::int32_t time);

  // The next frame of the steady run: frame n is drawn when n / rate seconds
  // have elapsed, the first at scene time 0.
  TCapturedFrame NextFrame();
  // The same without reading the frame back.
  void SkipFrame();

  std::int64_t FramesDrawn() const { return FrameNumber; }

 private:
  std::int32_t NextSceneTime() const;
  void DrawFrame(std::int32_t time);

  platform::TOffscreenContext& Context;
  int FramesPerSecond;
  TKeyScript Keys_;
  std::int64_t FrameNumber = 0;
};

bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
