#include "tools/tarnxm/render_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>

#include "player/player.h"
#include "tools/tarnxm/module_file.h"
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

// A song whose end does not come within this time is rendered this long.
constexpr double LongestSeconds = MaxDurationMs / 1000.0;
constexpr std::int32_t BufferFrames = 4096;

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
  const std::unique_ptr<TTarnXM> player = CreatePlayer(options.Sound, BufferFrames);
  std::string error;
  if (!LoadModuleFile(options.Input, player->Module, error)) {
    err << "tarnxm: " << options.Input << ": " << error << "\n";
    return 1;
  }

  const auto longest = static_cast<std::int64_t>(LongestSeconds * options.Sound.Rate);
  std::int64_t total = static_cast<std::int64_t>(std::llround(options.Seconds * options.Sound.Rate));
  if (options.Seconds == 0) {
    const std::unique_ptr<TTarnXM> counter = TTarnXM::Create(options.Sound.Rate, 1, false);
    if (!LoadModuleFile(options.Input, counter->Module, error)) {
      err << "tarnxm: " << options.Input << ": " << error << "\n";
      return 1;
    }
    total = FramesToSongEnd(*counter, longest);
    if (total == longest)
      err << "tarnxm: " << options.Input << ": the song does not end within an hour; rendering the hour\n";
  }

  TWavWriter wav;
  if (!wav.Open(options.Output, static_cast<std::uint32_t>(options.Sound.Rate),
                static_cast<std::uint16_t>(player->OutputChannels))) {
    err << "tarnxm: " << options.Output << ": " << wav.Error << "\n";
    return 1;
  }
  const std::clock_t start = std::clock();
  std::vector<std::int16_t> buffer(player->MixBuffer.size());
  player->Rewind();
  std::int64_t done = 0;
  int shown = -1;
  while (done < total) {
    player->RenderBuffer(buffer.data());
    const std::int64_t frames = std::min<std::int64_t>(BufferFrames, total - done);
    if (!wav.Write(buffer.data(), static_cast<std::size_t>(frames * player->OutputChannels))) break;
    done += frames;
    if (progress && static_cast<int>(done * 100 / total) != shown) {
      shown = static_cast<int>(done * 100 / total);
      DrawProgress(err, done, total);
    }
  }
  if (progress) err << "\n";
  if (done < total || !wav.Close()) {
    err << "tarnxm: " << options.Output << ": " << wav.Error << "\n";
    return 1;
  }
  const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  const double audio = static_cast<double>(total) / options.Sound.Rate;
  char factor[64];
  std::snprintf(factor, sizeof factor, "%.3f s of CPU time, %.0fx realtime", cpu, cpu > 0 ? audio / cpu : 0.0);
  err << "tarnxm: " << options.Output << ": " << ClockText(audio) << " of audio in " << factor << "\n";
  return 0;
}
