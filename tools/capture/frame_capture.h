#pragma once
// Renders the intro's frames for given scene times from a virtual clock at a
// fixed frame rate, as a steady run at that rate would have drawn them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/offscreen_context.h"

struct TCapturedFrame {
  std::int32_t Time;
  std::vector<std::uint8_t> Pixels;  // RGB, rows top to bottom
};

class TFrameCapture {
 public:
  // Needs a current context of the intro's size; runs the intro's start-up.
  explicit TFrameCapture(platform::TOffscreenContext& context, int framesPerSecond = 60);

  // Runs the loop on until the scene time reaches `time`, then draws that
  // frame with the scene time exactly `time` and reads it back. Times must not
  // go backwards between calls.
  TCapturedFrame CaptureAt(std::int32_t time);

 private:
  platform::TOffscreenContext& Context;
  int FramesPerSecond;
  std::int64_t FrameNumber = 0;
};

bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
