#include "tools/capture/frame_capture.h"

#include <png.h>

#include <cstdio>

#include "scene/frame.h"
#include "scene/scroller.h"
#include "shell/intro_hooks.h"
#include "shell/main_loop.h"
#include "shell/render_window.h"
#include "shell/shell_state.h"

TFrameCapture::TFrameCapture(platform::TOffscreenContext& context, int framesPerSecond, TKeyScript keys)
    : Context(context), FramesPerSecond(framesPerSecond > 0 ? framesPerSecond : 60), Keys_(std::move(keys)) {
  // A second capture in one process starts where the first did: the scroll
  // begins at rest.
  Keys.fill(false);
  ScrollFraction = 0;
  SceneTime = 0;
  PrevSceneTime = 0;
  ResizeScene(Context.Width(), Context.Height());
  IntroHooks().InitScene();
  IntroHooks().ShutdownScene();
}

std::int32_t TFrameCapture::NextSceneTime() const {
  const auto elapsed = static_cast<std::uint32_t>(FrameNumber * 1000 / FramesPerSecond);
  return SmoothSceneTime(SceneTime, elapsed);
}

void TFrameCapture::DrawFrame(std::int32_t time) {
  ++FrameNumber;
  SceneTime = time;
  Keys_.Apply(time);
  IntroHooks().DrawScene(FrameInput());
  HandleKeys();
}

TCapturedFrame TFrameCapture::CaptureAt(std::int32_t time) {
  while (NextSceneTime() < time) DrawFrame(NextSceneTime());
  DrawFrame(time);
  return {time, Context.ReadPixels()};
}

TCapturedFrame TFrameCapture::NextFrame() {
  SkipFrame();
  return {SceneTime, Context.ReadPixels()};
}

void TFrameCapture::SkipFrame() { DrawFrame(NextSceneTime()); }

bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = png && info && setjmp(png_jmpbuf(png)) == 0;
  if (ok) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
      png_write_row(png, rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3);
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}
