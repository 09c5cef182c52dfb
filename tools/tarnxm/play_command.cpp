#include "tools/tarnxm/play_command.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "player/output/player.h"
#include "tools/tarnxm/play_keys.h"
#include "tools/tarnxm/play_list.h"
#include "tools/tarnxm/play_screen.h"
#include "tools/tarnxm/play_session.h"
#include "tools/tarnxm/sound_options.h"

namespace {

struct TPlayOptions {
  std::vector<std::string> Inputs;
  TSoundOptions Sound;
};

std::string ParseOptions(const std::vector<std::string>& args, TPlayOptions& options) {
  bool loopsGiven = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    std::string problem;
    if (ParseSoundOption(args, k, options.Sound, problem)) {
      if (!problem.empty()) return problem;
      loopsGiven = loopsGiven || arg == "--loops";
    } else if (arg == "--once") {
      options.Sound.Loops = 0;
      loopsGiven = true;
    } else if (arg.starts_with("-")) {
      return "unexpected " + arg;
    } else {
      options.Inputs.push_back(arg);
    }
  }
  // Play goes on until it is told to stop.
  if (!loopsGiven) options.Sound.Loops = -1;
  return options.Inputs.empty() ? "expected FILE" : "";
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

// A player on the sound device with the options that hold for every song;
// its output thread waits for Play. A song ends where it has come round as
// often as the loops say.
std::unique_ptr<TTarnXM> OpenPlayer(const TSoundOptions& options) {
  std::unique_ptr<TTarnXM> player;
  {
    const TQuietStandardError quiet;
    player = TTarnXM::Create(options.Rate, BufferFrames(options.Rate), options.Stereo);
  }
  player->Renderer.SetInterpolation(options.Interpolation);
  player->Renderer.SetClipping(options.Clipping);
  player->Renderer.SetLoops(options.Loops, TTarnXMEndAction::Stop);
  return player;
}

}  // namespace

int RunPlay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const TPlayConsole& console) {
  TPlayOptions options;
  if (const std::string problem = ParseOptions(args, options); !problem.empty()) {
    err << "tarnxm play: " << problem << " (usage: tarnxm play --help)\n";
    return 2;
  }
  TPlayScreen screen(err, console.Status, STDERR_FILENO);
  TPlaylist list(options.Inputs, [&screen](const std::string& path, const std::string& reason) {
    screen.Message("tarnxm: " + path + ": " + reason);
  });
  std::optional<TPlaylistEntry> first = list.Find(0, 1);
  if (!first) return 1;
  const std::unique_ptr<TTarnXM> player = OpenPlayer(options.Sound);
  if (player->OpenResult != platform::MMSYSERR_NOERROR) {
    screen.Message("tarnxm: no sound device to play on");
    return 1;
  }
  TKeyReader keys(console.KeysFd);
  TPlaySession session(*player, list, screen, out, options.Sound);
  return session.Run(std::move(*first), keys) ? 0 : 1;
}
