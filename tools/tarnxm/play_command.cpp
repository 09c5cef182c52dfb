#include "tools/tarnxm/play_command.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>

#include "player/output/player.h"
#include "tools/tarnxm/play_keys.h"
#include "tools/tarnxm/play_status.h"
#include "tools/tarnxm/sound_options.h"
#include "tools/tarnxm/tarnxm.h"

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

struct TPlayOptions {
  std::string Input;
  bool Once = false;
  TSoundOptions Sound;
};

std::string ParseOptions(const std::vector<std::string>& args, TPlayOptions& options) {
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    std::string problem;
    if (ParseSoundOption(args, k, options.Sound, problem)) {
      if (!problem.empty()) return problem;
    } else if (arg == "--once") {
      options.Once = true;
    } else if (arg.starts_with("-") || !options.Input.empty()) {
      return "unexpected " + arg;
    } else {
      options.Input = arg;
    }
  }
  return options.Input.empty() ? "expected FILE" : "";
}

// Buffers of 2048 frames at 44100 Hz, the same time at other rates.
std::int32_t BufferFrames(std::int32_t rate) {
  return static_cast<std::int32_t>(std::max<std::int64_t>(64, std::int64_t{rate} * 2048 / 44100));
}

// The sound libraries that SDL tries in turn write their failures to the
// standard error; the tool says in one line what they come to.
class TQuietStandardError {
 public:
  TQuietStandardError() : Saved(dup(STDERR_FILENO)) {
    const int null = open("/dev/null", O_WRONLY);
    if (Saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~TQuietStandardError() {
    if (Saved < 0) return;
    dup2(Saved, STDERR_FILENO);
    close(Saved);
  }
  TQuietStandardError(const TQuietStandardError&) = delete;
  TQuietStandardError& operator=(const TQuietStandardError&) = delete;

 private:
  int Saved;
};

// A player on the sound device with the song and the options, which its
// output thread, paused until Play, does not read yet. With --once the song
// ends where it comes round.
std::unique_ptr<TTarnXM> OpenPlayer(const TPlayOptions& options, std::shared_ptr<const TTarnXMSong> song) {
  std::unique_ptr<TTarnXM> player;
  {
    const TQuietStandardError quiet;
    player = TTarnXM::Create(options.Sound.Rate, BufferFrames(options.Sound.Rate), options.Sound.Stereo);
  }
  player->Renderer.SetInterpolation(options.Sound.Interpolation);
  player->Renderer.SetClipping(options.Sound.Clipping);
  if (options.Once) player->Renderer.SetLoops(0, TTarnXMEndAction::Stop);
  player->Renderer.SetSong(std::move(song));
  return player;
}

bool AllBuffersPlayed(const TTarnXM& player) {
  return std::all_of(player.Headers.begin(), player.Headers.end(),
                     [](const platform::TWaveHeader& header) { return header.Flags & platform::WHDR_DONE; });
}

// The time played, without the pauses.
class TPlayClock {
 public:
  double Seconds() const {
    return std::chrono::duration<double>(Played + (Paused ? 0s : Clock::now() - Since)).count();
  }
  bool IsPaused() const { return Paused; }
  void Toggle() {
    if (!Paused) Played += Clock::now() - Since;
    Since = Clock::now();
    Paused = !Paused;
  }

 private:
  Clock::duration Played{};
  Clock::time_point Since = Clock::now();
  bool Paused = false;
};

}  // namespace

int RunPlay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const TPlayConsole& console) {
  TPlayOptions options;
  if (const std::string problem = ParseOptions(args, options); !problem.empty()) {
    err << "tarnxm play: " << problem << "\n" << TarnXMUsage;
    return 2;
  }
  TTarnXMLoad load = LoadModuleFile(options.Input);
  if (!load) {
    err << "tarnxm: " << options.Input << ": " << load.Error << "\n";
    return 1;
  }
  const std::unique_ptr<TTarnXM> player = OpenPlayer(options, std::move(load.Song));
  if (player->OpenResult != platform::MMSYSERR_NOERROR) {
    err << "tarnxm: no sound device to play on\n";
    return 1;
  }

  TKeyReader keys(console.KeysFd);
  TPlayClock clock;
  player->Play();
  bool quit = false;
  bool ended = false;
  TPlayStatus status;
  Clock::time_point drawn;
  // Looked at often, so that --once stops the thread soon after the end.
  while (!quit && !ended) {
    for (const TPlayKey key : keys.Wait(20ms)) {
      if (key == TPlayKey::Quit) {
        quit = true;
      } else {
        // The device holds its queue, and the thread finds no buffer to refill.
        player->Enter();
        if (clock.IsPaused())
          player->Device->Restart();
        else
          player->Device->Pause();
        player->Leave();
        clock.Toggle();
      }
    }
    status = ReadPlayStatus(*player);
    status.Seconds = clock.Seconds();
    status.Paused = clock.IsPaused();
    ended = options.Once && status.SongEnded;
    if (console.Status && (ended || Clock::now() - drawn >= 100ms)) {
      err << "\r" << StatusLine(status) << "\x1b[K" << std::flush;
      drawn = Clock::now();
    }
  }
  // The end of the song is queued already: it plays out before the device
  // closes (and runs dry, which is no underrun).
  player->Stop();
  const Clock::time_point deadline = Clock::now() + 2s;
  while (ended && !AllBuffersPlayed(*player) && Clock::now() < deadline)
    for (const TPlayKey key : keys.Wait(10ms))
      if (key == TPlayKey::Quit) ended = false;
  if (console.Status) err << "\n";
  out << "tarnxm: " << options.Input << ": played " << ClockText(clock.Seconds()) << ", " << status.Underruns
      << " underruns\n";
  return 0;
}
