#include "tools/tarnxm/render_job.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <utility>

#include "tools/tarnxm/interrupt.h"
#include "tools/tarnxm/output_file.h"
#include "tools/tarnxm/render_length.h"
#include "tools/tarnxm/sample_source.h"

namespace {

constexpr std::size_t BlockFrames = 4096;

// One file being written: the whole mix, or one channel of it.
struct TTrack {
  TTrack(std::shared_ptr<const TTarnXMSong> song, const TTarnXMRenderOptions& options)
      : Renderer(std::move(song), options) {}

  TTarnXMRenderer Renderer;
  std::unique_ptr<TSampleSource> Source;
  std::string Path;
  std::unique_ptr<TByteSink> Sink;
  TOutputFile* File = nullptr;  // the sink, when it is a file
  std::unique_ptr<TAudioWriter> Writer;
  std::vector<std::int32_t> Block;
};

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool Heard(std::int32_t channel, const TSoundOptions& sound) {
  const auto listed = [channel](const std::vector<std::int32_t>& list) {
    return std::find(list.begin(), list.end(), channel) != list.end();
  };
  return !listed(sound.Muted) && (sound.Solo.empty() || listed(sound.Solo));
}

// The channels that get a stem: those the options leave heard. -1 stands
// for the whole mix.
std::vector<std::int32_t> TrackChannels(const TTarnXMSong& song, const TRenderOptions& options) {
  if (options.StemsDir.empty()) return {-1};
  std::vector<std::int32_t> channels;
  for (std::int32_t channel = 0; channel < DescribeSong(song).Channels; ++channel)
    if (Heard(channel, options.Sound)) channels.push_back(channel);
  return channels;
}

std::string StemPath(const std::string& base, std::int32_t channel, std::int32_t channels, const char* extension) {
  char number[16];
  std::snprintf(number, sizeof number, "-%0*d.", channels > 99 ? 3 : 2, channel + 1);
  return base + number + extension;
}

// Renders every track block by block into its writer, up to limit frames,
// until the song ends or the render is interrupted. Returns the track whose
// writer failed, if one did.
const TTrack* WriteBlocks(const std::vector<std::unique_ptr<TTrack>>& tracks, std::int64_t limit, std::size_t channels,
                          TJobProgress& progress, std::int64_t& done) {
  while (done < limit && !Interrupted()) {
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(BlockFrames, limit - done));
    std::size_t rendered = 0;
    // The stems stay sample-aligned: one that ends early is padded with silence.
    for (const std::unique_ptr<TTrack>& track : tracks) {
      const std::span<std::int32_t> block = std::span(track->Block).first(wanted * channels);
      const std::size_t frames = track->Source->Render(block);
      std::fill(block.begin() + static_cast<std::ptrdiff_t>(frames * channels), block.end(), 0);
      rendered = std::max(rendered, frames);
    }
    for (const std::unique_ptr<TTrack>& track : tracks)
      if (!track->Writer->Write(std::span(track->Block).first(rendered * channels))) return track.get();
    done += static_cast<std::int64_t>(rendered);
    progress.Done = done;
    if (rendered < wanted) break;
  }
  return nullptr;
}

std::string Summary(const std::string& output, std::size_t stems, double audio, double cpu) {
  char text[160];
  std::snprintf(text, sizeof text, " of audio in %.3f s of CPU time, %.0fx realtime", cpu,
                cpu > 0 ? audio * static_cast<double>(stems) / cpu : 0.0);
  const std::string what = stems > 1 ? std::to_string(stems) + " stems of " : "";
  return "tarnxm: " + output + ": " + what + ClockText(audio) + text;
}

}  // namespace

TJobResult RenderJob(const TRenderOptions& options, const std::string& input, const std::string& output,
                     std::ostream& standardOutput, TJobProgress& progress) {
  TJobResult result;
  const auto fail = [&result](const std::string& where, const std::string& why) {
    result.Lines.push_back("tarnxm: " + where + ": " + why);
    return result;
  };
  const TTarnXMLoad load = LoadModuleFile(input);
  if (!load) return fail(input, load.Error);
  TTarnXMRenderOptions renderOptions = RenderOptions(options.Sound);
  // A given time plays on past the song's end, round and round.
  if (options.Seconds) renderOptions.EndAction = TTarnXMEndAction::Loop;
  const std::vector<std::int32_t> channels = TrackChannels(*load.Song, options);
  if (channels.empty()) return fail(input, "the options leave no channel for a stem");
  const std::int32_t songChannels = DescribeSong(*load.Song).Channels;

  std::vector<std::unique_ptr<TTrack>> tracks;
  for (const std::int32_t channel : channels) {
    TTrack& track = *tracks.emplace_back(std::make_unique<TTrack>(load.Song, renderOptions));
    std::string problem;
    ApplySoundOptions(track.Renderer, options.Sound, problem);
    if (!problem.empty()) return fail(input, problem);
    if (channel >= 0) track.Renderer.Solo(channel);
    track.Source = std::make_unique<TSampleSource>(track.Renderer, options.Format);
    track.Path =
        channel < 0 ? output : StemPath(output, channel, songChannels, ContainerName(ChosenContainer(options)));
  }
  const TRenderLength length = PlanLength(tracks.front()->Renderer, options);
  if (!length.Note.empty()) result.Lines.push_back("tarnxm: " + input + ": " + length.Note);
  progress.Expected = std::max<std::int64_t>(length.Expected, 1);

  const TAudioLayout layout{static_cast<std::uint32_t>(tracks.front()->Renderer.Options().SampleRate),
                            static_cast<std::uint16_t>(tracks.front()->Source->Channels()), options.Format,
                            ChosenContainer(options)};
  for (const std::unique_ptr<TTrack>& track : tracks) {
    if (track->Path == "-") {
      track->Sink = std::make_unique<TStreamSink>(standardOutput);
    } else {
      auto file = std::make_unique<TOutputFile>();
      if (!file->Open(track->Path)) return fail(track->Path, file->Error);
      track->File = file.get();
      track->Sink = std::move(file);
    }
    track->Writer = MakeAudioWriter(*track->Sink, layout);
    track->Block.resize(BlockFrames * layout.Channels);
  }

  const double cpuStart = ThreadCpuSeconds();
  std::int64_t done = 0;
  if (const TTrack* failed = WriteBlocks(tracks, length.Limit, layout.Channels, progress, done))
    return fail(failed->Path, failed->Writer->Error);
  if (Interrupted()) {
    result.Interrupted = true;
    return result;
  }
  for (const std::unique_ptr<TTrack>& track : tracks) {
    if (!track->Writer->Finish()) return fail(track->Path, track->Writer->Error);
    track->Writer.reset();
    if (track->File && !track->File->Commit()) return fail(track->Path, track->File->Error);
  }
  standardOutput.flush();
  const double audio = static_cast<double>(done) / layout.Rate;
  result.Lines.push_back(Summary(channels.front() < 0 ? output : output + "-*." + ContainerName(layout.Container),
                                 tracks.size(), audio, ThreadCpuSeconds() - cpuStart));
  result.Ok = true;
  return result;
}
