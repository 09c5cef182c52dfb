// driftlow-capture: renders chosen moments of the intro to PNG files, or the
// intro as a video with its music.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/offscreen_context.h"
#include "tools/capture/frame_capture.h"
#include "tools/capture/key_script.h"
#include "tools/capture/pipe_process.h"
#include "tools/capture/progress_bar.h"
#include "tools/capture/video_export.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "driftlow-capture: %s\n", message.c_str());
  return 1;
}

bool ParseInt(const std::string& text, long long low, long long high, long long& value) {
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && value >= low && value <= high;
}

bool ParseSeconds(const std::string& text, double low, double high, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && std::isfinite(value) && value >= low && value <= high;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find('x');
  long long w = 0;
  long long h = 0;
  if (x == std::string::npos || !ParseInt(text.substr(0, x), 16, 4096, w) || !ParseInt(text.substr(x + 1), 16, 4096, h))
    return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

const char* Usage =
    "usage: driftlow-capture --times T1,T2,... --out DIR [--format png|rgb] [--fps N] [--size WxH] [--keys KEYS]\n"
    "       driftlow-capture --video OUT.mp4|OUT.mkv|OUT.gif [--fps N] [--start S] [--seconds S] [--size WxH] "
    "[--keys KEYS]\n"
    "  times in milliseconds of scene time; S in seconds; KEYS like 30000:space,40000:down-hold-2000\n"
    "  (keys space, up, down, f5); .mkv is lossless (FFV1 and FLAC), .mp4 is H.264 and AAC;\n"
    "  rgb frames are the bare pixels, 3 bytes each, rows top to bottom";

bool WriteRgb(const std::string& path, const std::vector<std::uint8_t>& rgb) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  return std::fclose(file) == 0 && written;
}

int CaptureTimes(std::vector<std::int32_t> times, const std::string& out, bool rgb, int fps, int width, int height,
                 TKeyScript keys) {
  std::sort(times.begin(), times.end());
  std::error_code error;
  std::filesystem::create_directories(out, error);
  if (error) return Fail("cannot create " + out + ": " + error.message());
  platform::TOffscreenContext context(width, height);
  if (!context.Ok()) return Fail(context.Error());
  TFrameCapture capture(context, fps, std::move(keys));
  for (const std::int32_t time : times) {
    const TCapturedFrame frame = capture.CaptureAt(time);
    const std::string path = out + "/frame-" + std::to_string(time) + (rgb ? ".rgb" : ".png");
    const bool written =
        rgb ? WriteRgb(path, frame.Pixels) : WritePng(path, context.Width(), context.Height(), frame.Pixels);
    if (!written) return Fail("cannot write " + path);
    std::printf("%s\n", path.c_str());
  }
  return 0;
}

int CaptureVideo(TVideoOptions options) {
  options.Ffmpeg = FindProgram("ffmpeg");
  TProgressBar progress(options.FirstFrame + options.Frames);
  const TVideoResult result = ExportVideo(options, [&](std::int64_t done) { progress.Update(done); });
  progress.Finish();
  if (!result.Error.empty()) return Fail(result.Error);
  if (options.Ffmpeg.empty())
    std::fprintf(stderr, "driftlow-capture: ffmpeg not found: wrote the frames as PNG files to %s%s%s\n",
                 result.FramesFolder.c_str(), result.WavPath.empty() ? "" : " and the music to ",
                 result.WavPath.c_str());
  // The rates count every frame drawn, those before the start too.
  const std::int64_t drawn = options.FirstFrame + result.Frames;
  const double fps = options.FramesPerSecond;
  char from[48] = "";
  if (options.FirstFrame > 0)
    std::snprintf(from, sizeof from, " from %.2f s", static_cast<double>(options.FirstFrame) / fps);
  std::printf("%s: %lld frames, %.2f s of video%s; %lld frames drawn in %.1f s: %.1f frames/s, %.2fx real time\n",
              options.Ffmpeg.empty() ? result.FramesFolder.c_str() : options.Path.c_str(),
              static_cast<long long>(result.Frames), static_cast<double>(result.Frames) / fps, from,
              static_cast<long long>(drawn), result.WallSeconds, static_cast<double>(drawn) / result.WallSeconds,
              static_cast<double>(drawn) / fps / result.WallSeconds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::int32_t> times;
  std::string out;
  std::string video;
  long long fps = 60;
  double start = 0;
  double seconds = 60;
  int width = 800;
  int height = 600;
  TKeyScript keys;
  bool videoOnly = false;
  bool rgb = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Fail(arg == "--help" ? Usage : "missing value after " + arg + "\n" + Usage);
    const std::string value = argv[++i];
    if (arg == "--times") {
      std::stringstream list(value);
      std::string item;
      while (std::getline(list, item, ',')) {
        long long time = 0;
        if (!ParseInt(item, 0, 2000000000, time)) return Fail("bad time '" + item + "' (milliseconds, 0 or more)");
        times.push_back(static_cast<std::int32_t>(time));
      }
    } else if (arg == "--out") {
      out = value;
    } else if (arg == "--format") {
      if (value != "png" && value != "rgb") return Fail("bad format '" + value + "' (png or rgb)");
      rgb = value == "rgb";
    } else if (arg == "--video") {
      video = value;
    } else if (arg == "--fps") {
      if (!ParseInt(value, 1, 1000, fps)) return Fail("bad frame rate '" + value + "' (1 to 1000)");
    } else if (arg == "--start") {
      videoOnly = true;
      if (!ParseSeconds(value, 0, 86400, start)) return Fail("bad start '" + value + "' (seconds, 0 to 86400)");
    } else if (arg == "--seconds") {
      videoOnly = true;
      if (!ParseSeconds(value, 0.001, 86400, seconds)) return Fail("bad length '" + value + "' (seconds, up to 86400)");
    } else if (arg == "--size") {
      if (!ParseSize(value, width, height)) return Fail("bad size '" + value + "' (WIDTHxHEIGHT, each 16 to 4096)");
    } else if (arg == "--keys") {
      std::string error;
      if (!TKeyScript::Parse(value, keys, error)) return Fail(error);
    } else {
      return Fail("unknown option " + arg + "\n" + Usage);
    }
  }
  if (!video.empty() && times.empty() && out.empty()) {
    TVideoOptions options;
    options.Path = video;
    options.FramesPerSecond = static_cast<int>(fps);
    options.FirstFrame = std::llround(start * static_cast<double>(fps));
    options.Frames = std::max(1LL, std::llround(seconds * static_cast<double>(fps)));
    options.Width = width;
    options.Height = height;
    options.Keys = std::move(keys);
    return CaptureVideo(std::move(options));
  }
  if (video.empty() && !times.empty() && !out.empty() && !videoOnly)
    return CaptureTimes(std::move(times), out, rgb, static_cast<int>(fps), width, height, std::move(keys));
  return Fail(Usage);
}
