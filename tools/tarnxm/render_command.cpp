#include "tools/tarnxm/render_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

#include "tarnxm/tarnxm.h"
#include "tools/tarnxm/song_length.h"
#include "tools/tarnxm/sound_options.h"
#include "tools/tarnxm/tarnxm.h"
#include "tools/tarnxm/wav_writer.h"

namespace {

struct TRenderOptions {
  std::string Input;
  std::string Output;
  double Seconds = 0;  // 0: to the song's end
  TSoundOptions Sound;
};

constexpr std::size_t BufferFrames = 4096;

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

// An empty string when the arguments are good, else what is wrong.
std::string ParseOptions(const std::vector<std::string>& args, TRenderOptions& options) {
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    std::string problem;
    if (ParseSoundOption(args, k, options.Sound, problem)) {
      if (!problem.empty()) return problem;
    } else if (arg == "-o" || arg == "--seconds") {
      if (k + 1 >= args.size()) return arg + " needs a value";
      const std::string& value = args[++k];
      if (arg == "-o") {
        options.Output = value;
      } else if (!ParseNumber(value, options.Seconds) || !(options.Seconds > 0 && options.Seconds <= LongestSeconds)) {
        return "--seconds takes a time above 0, up to 3600";
      }
    } else if (arg.starts_with("-") || !options.Input.empty()) {
      return "unexpected " + arg;
    } else {
      options.Input = arg;
    }
  }
  if (options.Input.empty()) return "expected FILE";
  if (options.Output.empty()) return "expected -o OUT.wav";
  return "";
}

void DrawProgress(std::ostream& err, std::int64_t done, std::int64_t total) {
  constexpr int Width = 40;
  const int filled = total > 0 ? static_cast<int>(done * Width / total) : Width;
  err << "\r[" << std::string(static_cast<std::size_t>(filled), '#') << std::string(Width - filled, '.') << "] "
      << (total > 0 ? done * 100 / total : 100) << "%" << std::flush;
}

}  // namespace

int RunRender(const std::vector<std::string>& args, std::ostream&, std::ostream& err, bool progress) {
  TRenderOptions options;
  if (const std::string problem = ParseOptions(args, options); !problem.empty()) {
    err << "tarnxm render: " << problem << "\n" << TarnXMUsage;
    return 2;
  }
  const TTarnXMLoad load = LoadModuleFile(options.Input);
  if (!load) {
    err << "tarnxm: " << options.Input << ": " << load.Error << "\n";
    return 1;
  }

  TTarnXMRenderOptions renderOptions = RenderOptions(options.Sound);
  // A given time plays on past the song's end, round and round.
  if (options.Seconds > 0) renderOptions.EndAction = TTarnXMEndAction::Loop;
  TTarnXMRenderer renderer(load.Song, renderOptions);
  const std::int32_t rate = renderer.Options().SampleRate;
  const std::size_t channels = renderer.Options().Stereo ? 2 : 1;
  std::int64_t total = std::llround(options.Seconds * rate);
  if (options.Seconds == 0) {
    const std::optional<std::int64_t> end = FramesToSongEnd(renderer);
    total = end.value_or(static_cast<std::int64_t>(LongestSeconds * rate));
    if (!end) err << "tarnxm: " << options.Input << ": the song does not end within an hour; rendering the hour\n";
  }

  TWavWriter wav;
  if (!wav.Open(options.Output, static_cast<std::uint32_t>(rate), static_cast<std::uint16_t>(channels))) {
    err << "tarnxm: " << options.Output << ": " << wav.Error << "\n";
    return 1;
  }
  const std::clock_t start = std::clock();
  std::vector<std::int16_t> buffer(BufferFrames * channels);
  std::int64_t done = 0;
  std::size_t frames = BufferFrames;
  bool written = true;
  int shown = -1;
  // A render that ends before the scan said it would stops there.
  while (done < total && frames > 0 && written) {
    frames =
        renderer.Render(buffer.data(), static_cast<std::size_t>(std::min<std::int64_t>(BufferFrames, total - done)));
    written = wav.Write(buffer.data(), frames * channels);
    done += static_cast<std::int64_t>(frames);
    if (progress && static_cast<int>(done * 100 / total) != shown) {
      shown = static_cast<int>(done * 100 / total);
      DrawProgress(err, done, total);
    }
  }
  if (progress) err << "\n";
  if (!written || !wav.Close()) {
    err << "tarnxm: " << options.Output << ": " << wav.Error << "\n";
    return 1;
  }
  const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  const double audio = static_cast<double>(done) / rate;
  char factor[64];
  std::snprintf(factor, sizeof factor, "%.3f s of CPU time, %.0fx realtime", cpu, cpu > 0 ? audio / cpu : 0.0);
  err << "tarnxm: " << options.Output << ": " << ClockText(audio) << " of audio in " << factor << "\n";
  return 0;
}
