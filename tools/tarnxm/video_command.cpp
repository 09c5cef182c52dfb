#include "tools/tarnxm/video_command.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>

#include "tools/console/checked_option.h"
#include "tools/console/progress_bar.h"
#include "tools/module_video/module_video.h"
#include "tools/tarnxm/interrupt.h"
#include "tools/tarnxm/render_length.h"
#include "tools/video_file/pipe_process.h"
#include "tools/video_file/video_format.h"

namespace {

constexpr int SmallestWidth = 320;
constexpr int SmallestHeight = 180;

// Each channel the mix lets be heard, alone, in mono, at the engine's full
// scale, from where the mix starts.
std::vector<std::optional<TTarnXMRenderer>> ChannelRenderers(const TTarnXMRenderer& mix,
                                                             const TVideoCommandOptions& options) {
  TTarnXMRenderOptions render = mix.Options();
  render.Stereo = false;
  render.GainDb = 0;
  TSoundOptions alone = options.Sound;
  alone.Muted.clear();
  alone.GainDb = 0;
  std::vector<std::optional<TTarnXMRenderer>> channels;
  for (std::int32_t channel = 0; channel < DescribeSong(*mix.Song()).Channels; ++channel) {
    std::optional<TTarnXMRenderer>& renderer = channels.emplace_back();
    if (mix.IsMuted(channel)) continue;
    renderer.emplace(mix.Song(), render);
    alone.Solo = {channel};
    std::string problem;
    ApplySoundOptions(*renderer, alone, problem);
  }
  return channels;
}

std::string Summary(const std::string& path, const TModuleVideoResult& result, int framesPerSecond) {
  const double seconds = static_cast<double>(result.Frames) / framesPerSecond;
  char text[200];
  std::snprintf(text, sizeof text, ": %lld frames, %s of video, in %.1f s: %.1f frames/s, %.2fx real time",
                static_cast<long long>(result.Frames), ClockText(seconds).c_str(), result.WallSeconds,
                static_cast<double>(result.Frames) / result.WallSeconds, seconds / result.WallSeconds);
  return "tarnxm: " + path + text;
}

}  // namespace

CLI::App* AddVideoCommand(CLI::App& tool, TVideoCommandOptions& options) {
  CLI::App* command = tool.add_subcommand("video", "a song as a video with its scopes and pattern");
  command->footer(
      "One oscilloscope per channel and the pattern, with the song's mix as the sound: .mkv is lossless\n"
      "(FFV1 and FLAC), .mp4 is H.264 and AAC. Drawn with OpenGL, offscreen where there is no display.");
  command->add_option("FILE", options.Input, "the XM or MOD module")->required()->type_name("");
  AddCheckedOption(*command, "-o", "OUT", "the video, .mp4 or .mkv", [&options](const std::string& word) {
    options.Output = word;
    const TVideoFormat format = VideoFormatOf(word);
    return format == TVideoFormat::Mp4 || format == TVideoFormat::Mkv ? "" : "takes a .mp4 or .mkv file";
  })->required();
  AddCheckedOption(*command, "--fps", "N", "frames per second, 1 to 240 (60)", [&options](const std::string& word) {
    return ParseNumber(word, options.FramesPerSecond) && options.FramesPerSecond >= 1 && options.FramesPerSecond <= 240
               ? ""
               : "takes 1 to 240 frames per second";
  });
  AddCheckedOption(*command, "--size", "WxH", "the picture's size (1920x1080)", [&options](const std::string& word) {
    return ParseVideoSize(word, options.Width, options.Height) && options.Width >= SmallestWidth &&
                   options.Height >= SmallestHeight && options.Width % 2 == 0 && options.Height % 2 == 0
               ? ""
               : "takes even WIDTHxHEIGHT from 320x180 to 4096x4096";
  });
  AddSecondsOption(*command, options.Seconds);
  AddSoundOptions(*command, options.Sound);
  command->callback([&options] {
    if (const std::string endless = CheckEndless(options.Sound, options.Seconds); !endless.empty())
      throw CLI::ValidationError(endless);
  });
  return command;
}

int RunVideo(const TVideoCommandOptions& options, std::ostream& out, std::ostream& err, bool progress) {
  const auto fail = [&err](const std::string& where, const std::string& why) {
    err << "tarnxm: " << where << ": " << why << "\n";
    return 1;
  };
  const TTarnXMLoad load = LoadModuleFile(options.Input);
  if (!load) return fail(options.Input, load.Error);
  const std::string ffmpeg = FindProgram("ffmpeg");
  if (ffmpeg.empty()) return fail(options.Output, "ffmpeg is not installed; tarnxm video writes through it");

  TTarnXMRenderOptions render = RenderOptions(options.Sound);
  if (options.Seconds) render.EndAction = TTarnXMEndAction::Loop;
  TTarnXMRenderer mix(load.Song, render);
  std::string problem;
  ApplySoundOptions(mix, options.Sound, problem);
  if (!problem.empty()) return fail(options.Input, problem);
  TRenderOptions length;
  length.Seconds = options.Seconds;
  length.Sound = options.Sound;
  const TRenderLength planned = PlanLength(mix, length);
  if (!planned.Note.empty()) err << "tarnxm: " << options.Input << ": " << planned.Note << "\n";

  TModuleVideoJob job;
  job.Path = options.Output;
  job.Ffmpeg = ffmpeg;
  job.FramesPerSecond = options.FramesPerSecond;
  job.Width = options.Width;
  job.Height = options.Height;
  job.Song = load.Song;
  const std::string title = DescribeSong(*load.Song).Title;
  job.Caption.Title = title.find_first_not_of(' ') == std::string::npos
                          ? std::filesystem::path(options.Input).filename().string()
                          : title;
  job.Caption.EndSeconds = static_cast<double>(mix.Info().Frame + planned.Limit) / render.SampleRate;
  job.Mix = &mix;
  job.Channels = ChannelRenderers(mix, options);
  job.SampleFrames = planned.Limit;

  const TInterruptGuard interruptible;
  TProgressBar bar(err, FramesOfVideo(planned.Expected, render.SampleRate, options.FramesPerSecond), "frames",
                   progress);
  const TModuleVideoResult result = ExportModuleVideo(
      std::move(job), [&bar](std::int64_t done) { bar.Update(done); }, Interrupted);
  bar.Finish();
  if (Interrupted()) {
    err << "tarnxm: interrupted; no video was written\n";
    return 130;
  }
  if (!result.Error.empty()) return fail(options.Output, result.Error);
  out << Summary(options.Output, result, options.FramesPerSecond) << "\n";
  return 0;
}
