#include "tools/module_video/module_video.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/offscreen_context.h"
#include "tools/video_file/pcm_bytes.h"
#include "tools/video_file/pipe_process.h"
#include "tools/video_file/video_format.h"

namespace {

// The mix, rendered on a thread of its own straight into ffmpeg's second
// input: ffmpeg reads its two inputs side by side, and neither pipe may wait
// on the other. Its state at each video frame's first sample is handed to
// the frames as it passes.
class TMixFeed {
 public:
  TMixFeed(TTarnXMRenderer& mix, TPipeProcess& ffmpeg, std::int64_t sampleFrames, int framesPerSecond)
      : Writer([this, &mix, &ffmpeg, sampleFrames, framesPerSecond] {
          Run(mix, ffmpeg, sampleFrames, framesPerSecond);
        }) {}
  ~TMixFeed() { Stop(); }
  TMixFeed(const TMixFeed&) = delete;
  TMixFeed& operator=(const TMixFeed&) = delete;

  // The mix's state at video frame n's time, in turn from frame 0; none
  // where the sound ended before it.
  std::optional<TTarnXMFrameInfo> Next() {
    std::unique_lock lock(Lock);
    Changed.wait(lock, [this] { return Finished || !States.empty(); });
    if (States.empty()) return std::nullopt;
    TTarnXMFrameInfo state = std::move(States.front());
    States.pop_front();
    return state;
  }
  // Ends the sound where it is.
  void Stop() {
    Stopping = true;
    if (Writer.joinable()) Writer.join();
  }

 private:
  void Run(TTarnXMRenderer& mix, TPipeProcess& ffmpeg, std::int64_t sampleFrames, int framesPerSecond) {
    const int rate = mix.Options().SampleRate;
    const std::size_t channels = mix.Options().Stereo ? 2 : 1;
    std::vector<std::int16_t> samples;
    std::vector<std::uint8_t> bytes;
    for (std::int64_t n = 0; !Stopping; ++n) {
      const std::int64_t first = FirstSampleOfFrame(n, rate, framesPerSecond);
      const std::int64_t end = std::min(FirstSampleOfFrame(n + 1, rate, framesPerSecond), sampleFrames);
      if (first >= end) break;
      TTarnXMFrameInfo state = mix.Info();
      const auto wanted = static_cast<std::size_t>(end - first);
      samples.resize(wanted * channels);
      const std::size_t rendered = mix.Render(samples.data(), wanted);
      // A frame needs sound of its own: the song may end on a frame's edge.
      if (rendered == 0) break;
      {
        const std::lock_guard lock(Lock);
        States.push_back(std::move(state));
        Changed.notify_one();
      }
      bytes.clear();
      AppendPcm16Le(bytes, samples.data(), rendered * channels);
      if (!ffmpeg.Write(1, bytes.data(), bytes.size())) break;
      // A song that ends before its planned length ends the video there.
      if (rendered < wanted) break;
    }
    ffmpeg.Close(1);
    const std::lock_guard lock(Lock);
    Finished = true;
    Changed.notify_one();
  }

  std::mutex Lock;
  std::condition_variable Changed;
  std::deque<TTarnXMFrameInfo> States;
  bool Finished = false;
  std::atomic<bool> Stopping{false};
  std::thread Writer;
};

// A hidden name beside the target, with the target's extension, by which
// ffmpeg knows the container.
std::string TemporaryPath(const std::string& target) {
  const std::filesystem::path path(target);
  return (path.parent_path() /
          ("." + path.stem().string() + "." + std::to_string(getpid()) + ".part" + path.extension().string()))
      .string();
}

}  // namespace

std::int64_t FirstSampleOfFrame(std::int64_t n, int sampleRate, int framesPerSecond) {
  return n * sampleRate / framesPerSecond;
}

std::int64_t FramesOfVideo(std::int64_t sampleFrames, int sampleRate, int framesPerSecond) {
  return (sampleFrames * framesPerSecond + sampleRate - 1) / sampleRate;
}

TModuleVideoResult ExportModuleVideo(TModuleVideoJob job, const std::function<void(std::int64_t)>& onFrame,
                                     const std::function<bool()>& stop) {
  TModuleVideoResult result;
  const auto started = std::chrono::steady_clock::now();
  const TVideoFormat format = VideoFormatOf(job.Path);
  if (format != TVideoFormat::Mp4 && format != TVideoFormat::Mkv) {
    result.Error = job.Path + ": a video is .mp4 or .mkv";
    return result;
  }
  platform::TOffscreenContext context(job.Width, job.Height);
  if (!context.Ok()) {
    result.Error = context.Error();
    return result;
  }
  TModuleFrame frame(job.Song, job.Caption, job.Width, job.Height, job.Mix->Options().SampleRate);
  if (!frame.Ok()) {
    result.Error = "the font is missing from the program";
    return result;
  }
  TChannelScopes scopes(std::move(job.Channels));
  const int rate = job.Mix->Options().SampleRate;
  const int soundChannels = job.Mix->Options().Stereo ? 2 : 1;

  const std::string temporary = TemporaryPath(job.Path);
  TPipeProcess ffmpeg;
  if (!ffmpeg.Start(job.Ffmpeg,
                    FfmpegArguments(format, temporary, job.Width, job.Height, job.FramesPerSecond, rate, soundChannels),
                    {0, 3})) {
    result.Error = "cannot run " + job.Ffmpeg;
    return result;
  }
  bool written = true;
  {
    TMixFeed feed(*job.Mix, ffmpeg, job.SampleFrames, job.FramesPerSecond);
    for (std::int64_t n = 0; written && !stop(); ++n) {
      const std::optional<TTarnXMFrameInfo> state = feed.Next();
      if (!state) break;
      const std::int64_t first = FirstSampleOfFrame(n, rate, job.FramesPerSecond);
      frame.Draw(*state, scopes, first);
      const std::vector<std::uint8_t> pixels = context.ReadPixels();
      written = ffmpeg.Write(0, pixels.data(), pixels.size());
      scopes.Forget(first - static_cast<std::int64_t>(frame.ScopeFrames()));
      if (written) onFrame(++result.Frames);
    }
    ffmpeg.Close(0);
    // At the song's end the feed has finished; after a failure it stops.
    feed.Stop();
  }
  const int status = ffmpeg.Finish();
  result.WallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (stop()) result.Error = "interrupted; no video was written";
  else if (!written || status != 0)
    result.Error = "ffmpeg failed" + (status > 0 ? " with exit status " + std::to_string(status) : "");
  else if (std::rename(temporary.c_str(), job.Path.c_str()) != 0) result.Error = "cannot write " + job.Path;
  if (!result.Error.empty()) std::remove(temporary.c_str());
  return result;
}
