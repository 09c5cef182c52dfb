// driftlow-capture: renders chosen moments of the intro to PNG files, or the
// intro as a video with its music.
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/offscreen_context.h"
#include "tools/capture/frame_capture.h"
#include "tools/capture/key_script.h"
#include "tools/capture/video_export.h"
#include "tools/console/checked_option.h"
#include "tools/console/command_line.h"
#include "tools/console/progress_bar.h"
#include "tools/video_file/pipe_process.h"
#include "tools/video_file/video_format.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "driftlow-capture: %s\n", message.c_str());
  return 1;
}

// Seconds as a finite number from low to high.
bool ParseSeconds(const std::string& text, double low, double high, double& value) {
  return ParseNumber(text, value) && std::isfinite(value) && value >= low && value <= high;
}

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
  TProgressBar progress(std::cerr, options.FirstFrame + options.Frames, "frames", isatty(STDERR_FILENO) == 1);
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

// What the command line asks for: stills at scene times, or a video.
struct TCommandLine {
  std::vector<std::int32_t> Times;
  std::string Out;
  bool Rgb = false;
  std::string Video;
  int Fps = 60;
  double Start = 0;
  double Seconds = 60;
  int Width = 800;
  int Height = 600;
  TKeyScript Keys;
};

void AddOptions(CLI::App& app, TCommandLine& line) {
  // A later value of an option replaces an earlier one; --times adds to the list.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.footer(
      "Stills: --times T1,T2,... --out DIR, one PNG per scene time as DIR/frame-T.png.\n"
      "A video: --video OUT.mp4|OUT.mkv|OUT.gif [--start S] [--seconds S]; .mkv is lossless (FFV1 and FLAC),\n"
      ".mp4 is H.264 and AAC, .gif the picture alone. The keys: space, up, down and f5.");
  AddCheckedOption(app, "--times", "T1,T2,...", "scene times in milliseconds, one frame each",
                   [&line](const std::string& word) {
                     std::stringstream list(word);
                     std::string item;
                     while (std::getline(list, item, ',')) {
                       std::int32_t time = 0;
                       if (!ParseNumber(item, time) || time < 0)
                         return "takes milliseconds of scene time, 0 or more: 2000,6000";
                       line.Times.push_back(time);
                     }
                     return "";
                   });
  app.add_option("--out", line.Out, "the folder the frames go to")->type_name("DIR");
  AddCheckedOption(app, "--format", "png|rgb", "rgb frames are the bare pixels, 3 bytes each, rows top to bottom",
                   [&line](const std::string& word) {
                     line.Rgb = word == "rgb";
                     return word == "png" || line.Rgb ? "" : "takes png or rgb";
                   });
  app.add_option("--video", line.Video, "the intro as a video, with its music")->type_name("OUT");
  AddCheckedOption(app, "--fps", "N", "frames per second (60)", [&line](const std::string& word) {
    return ParseNumber(word, line.Fps) && line.Fps >= 1 && line.Fps <= 1000 ? "" : "takes 1 to 1000 frames per second";
  });
  CLI::Option* start =
      AddCheckedOption(app, "--start", "S", "where the video starts, in seconds (0)", [&line](const std::string& word) {
        return ParseSeconds(word, 0, 86400, line.Start) ? "" : "takes 0 to 86400 seconds";
      });
  CLI::Option* seconds =
      AddCheckedOption(app, "--seconds", "S", "the video's length in seconds (60)", [&line](const std::string& word) {
        return ParseSeconds(word, 0.001, 86400, line.Seconds) ? "" : "takes more than 0 seconds, up to 86400";
      });
  AddCheckedOption(app, "--size", "WxH", "the picture's size (800x600)", [&line](const std::string& word) {
    return ParseVideoSize(word, line.Width, line.Height) ? "" : "takes WIDTHxHEIGHT, each 16 to 4096";
  });
  AddCheckedOption(app, "--keys", "KEYS", "key presses at scene times: 30000:space,40000:down-hold-2000",
                   [&line](const std::string& word) {
                     std::string error;
                     return TKeyScript::Parse(word, line.Keys, error) ? "" : "has a " + error;
                   });
  app.callback([&line, start, seconds] {
    const bool stills = !line.Times.empty() && !line.Out.empty() && !*start && !*seconds;
    if (line.Video.empty() ? !stills : !line.Times.empty() || !line.Out.empty())
      throw CLI::ValidationError("expected --times with --out, or --video; --start and --seconds go with --video");
  });
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Renders chosen moments of the intro to PNG files, or the intro as a video with its music.",
               "driftlow-capture");
  TCommandLine line;
  AddOptions(app, line);
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  if (!line.Video.empty()) {
    TVideoOptions options;
    options.Path = line.Video;
    options.FramesPerSecond = line.Fps;
    options.FirstFrame = std::llround(line.Start * line.Fps);
    options.Frames = std::max(1LL, std::llround(line.Seconds * line.Fps));
    options.Width = line.Width;
    options.Height = line.Height;
    options.Keys = std::move(line.Keys);
    return CaptureVideo(std::move(options));
  }
  return CaptureTimes(std::move(line.Times), line.Out, line.Rgb, line.Fps, line.Width, line.Height,
                      std::move(line.Keys));
}
