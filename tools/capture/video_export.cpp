#include "tools/capture/video_export.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "platform/offscreen_context.h"
#include "platform/wav_format.h"
#include "tools/capture/frame_capture.h"
#include "tools/capture/intro_music.h"
#include "tools/video_file/pcm_bytes.h"
#include "tools/video_file/pipe_process.h"
#include "tools/video_file/video_format.h"

namespace {

constexpr std::size_t ChunkFrames = 4096;

// Renders the music's sample frames [first, end) and hands each chunk on as
// little-endian bytes; stops when the sink refuses one.
bool StreamMusic(TIntroMusic& music, std::int64_t first, std::int64_t end,
                 const std::function<bool(const std::vector<std::uint8_t>&)>& sink) {
  std::vector<std::int16_t> samples(ChunkFrames * TIntroMusic::Channels);
  std::vector<std::uint8_t> bytes;
  for (std::int64_t at = 0; at < end;) {
    const std::int64_t until = at < first ? first : end;
    const auto frames = static_cast<std::size_t>(std::min<std::int64_t>(until - at, ChunkFrames));
    music.Render(samples.data(), frames);
    if (at >= first) {
      bytes.clear();
      AppendPcm16Le(bytes, samples.data(), frames * TIntroMusic::Channels);
      if (!sink(bytes)) return false;
    }
    at += static_cast<std::int64_t>(frames);
  }
  return true;
}

std::string FrameName(std::int64_t n) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(n));
  return name;
}

bool WriteWav(const std::string& path, TIntroMusic& music, std::int64_t first, std::int64_t end) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) return false;
  const std::uint64_t dataBytes = static_cast<std::uint64_t>(end - first) * 2 * TIntroMusic::Channels;
  const std::vector<std::uint8_t> header =
      platform::WavHeader({.Channels = TIntroMusic::Channels, .Rate = TIntroMusic::Rate},
                          static_cast<std::uint32_t>(std::min<std::uint64_t>(dataBytes, platform::MaxWavDataBytes)));
  bool ok = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
  ok = ok && StreamMusic(music, first, end, [&](const std::vector<std::uint8_t>& bytes) {
         return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
       });
  return std::fclose(file.release()) == 0 && ok;
}

// The music's sample frames of the video's span.
struct TMusicSpan {
  std::int64_t First;
  std::int64_t End;
};

using TOnFrame = std::function<void(std::int64_t)>;

void WriteFilesWithoutFfmpeg(const TVideoOptions& options, TVideoFormat format, TFrameCapture& capture,
                             const TMusicSpan& span, const TOnFrame& onFrame, TVideoResult& result) {
  const std::string stem = std::filesystem::path(options.Path).replace_extension().string();
  result.FramesFolder = stem + "-frames";
  std::error_code error;
  std::filesystem::create_directories(result.FramesFolder, error);
  if (error) {
    result.Error = "cannot create " + result.FramesFolder + ": " + error.message();
    return;
  }
  while (result.Frames < options.Frames) {
    const std::string path = result.FramesFolder + "/" + FrameName(result.Frames);
    if (!WritePng(path, options.Width, options.Height, capture.NextFrame().Pixels)) {
      result.Error = "cannot write " + path;
      return;
    }
    onFrame(options.FirstFrame + ++result.Frames);
  }
  if (!HasSound(format)) return;
  result.WavPath = stem + ".wav";
  TIntroMusic music;
  if (!WriteWav(result.WavPath, music, span.First, span.End)) result.Error = "cannot write " + result.WavPath;
}

void PipeToFfmpeg(const TVideoOptions& options, TVideoFormat format, TFrameCapture& capture, const TMusicSpan& span,
                  const TOnFrame& onFrame, TVideoResult& result) {
  const bool sound = HasSound(format);
  TPipeProcess ffmpeg;
  if (!ffmpeg.Start(options.Ffmpeg,
                    FfmpegArguments(format, options.Path, options.Width, options.Height, options.FramesPerSecond,
                                    TIntroMusic::Rate),
                    sound ? std::vector<int>{0, 3} : std::vector<int>{0})) {
    result.Error = "cannot run " + options.Ffmpeg;
    return;
  }
  // ffmpeg reads its two inputs side by side; the music gets its own thread,
  // so that neither pipe waits on the other.
  std::thread musicWriter;
  if (sound)
    musicWriter = std::thread([&] {
      TIntroMusic music;
      StreamMusic(music, span.First, span.End,
                  [&](const std::vector<std::uint8_t>& bytes) { return ffmpeg.Write(1, bytes.data(), bytes.size()); });
      ffmpeg.Close(1);
    });
  bool written = true;
  while (written && result.Frames < options.Frames) {
    const std::vector<std::uint8_t> pixels = capture.NextFrame().Pixels;
    written = ffmpeg.Write(0, pixels.data(), pixels.size());
    if (written) onFrame(options.FirstFrame + ++result.Frames);
  }
  ffmpeg.Close(0);
  if (musicWriter.joinable()) musicWriter.join();
  const int status = ffmpeg.Finish();
  if (!written || status != 0)
    result.Error =
        "ffmpeg failed" + (status > 0 ? " with exit status " + std::to_string(status) : "") + " on " + options.Path;
}

}  // namespace

std::int64_t SampleFramesBefore(std::int64_t n, int framesPerSecond) { return n * TIntroMusic::Rate / framesPerSecond; }

TVideoResult ExportVideo(const TVideoOptions& options, const TOnFrame& onFrame) {
  TVideoResult result;
  const auto started = std::chrono::steady_clock::now();
  const TVideoFormat format = VideoFormatOf(options.Path);
  if (format == TVideoFormat::Unknown) {
    result.Error = "cannot tell the kind of video from the name " + options.Path + " (.mp4, .mkv or .gif)";
    return result;
  }
  if (options.FramesPerSecond < 1 || options.FramesPerSecond > 1000 || options.FirstFrame < 0 || options.Frames < 1) {
    result.Error = "the frame rate must be 1 to 1000 and the video at least one frame long";
    return result;
  }
  if (format != TVideoFormat::Gif && (options.Width % 2 != 0 || options.Height % 2 != 0)) {
    result.Error = "the video's width and height must be even";
    return result;
  }
  platform::TOffscreenContext context(options.Width, options.Height);
  if (!context.Ok()) {
    result.Error = context.Error();
    return result;
  }
  TFrameCapture capture(context, options.FramesPerSecond, options.Keys);
  const TMusicSpan span{SampleFramesBefore(options.FirstFrame, options.FramesPerSecond),
                        SampleFramesBefore(options.FirstFrame + options.Frames, options.FramesPerSecond)};
  for (std::int64_t n = 0; n < options.FirstFrame; onFrame(++n)) capture.SkipFrame();
  if (options.Ffmpeg.empty()) WriteFilesWithoutFfmpeg(options, format, capture, span, onFrame, result);
  else PipeToFfmpeg(options, format, capture, span, onFrame, result);
  result.WallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return result;
}
