#include "tools/tarnxm/play_command.h"

#include <fcntl.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

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

namespace {

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

CLI::App* AddPlayCommand(CLI::App& tool, TPlayOptions& options) {
  CLI::App* command = tool.add_subcommand("play", "songs through the sound device");
  command->add_option("FILE", options.Inputs, "the XM or MOD modules")->required()->type_name("");
  // Play goes on until it is told to stop.
  options.Sound.Loops = -1;
  command
      ->add_flag_callback(
          "--once", [&options] { options.Sound.Loops = 0; }, "each song once through (--loops 0)")
      ->trigger_on_parse();
  AddSoundOptions(*command, options.Sound);
  command->footer(
      "The songs one after the other, each round and round until a key moves on,\n"
      "unless --once or --loops. A file that does not load, or lacks the subsong or\n"
      "start asked for, is one line and play goes on with the next. Exit status 0\n"
      "when a file played, 1 when none did, 2 for a usage error.\n"
      "Keys: Space pause, q or Escape quit, Left/Right seek -/+5 s, Up/Down -/+1 order,\n"
      "      n/p next/previous file, < > previous/next subsong, 1-0 toggle channels 1-10,\n"
      "      ! unmute all, h help");
  return command;
}

int RunPlay(const TPlayOptions& options, std::ostream& out, std::ostream& err, const TConsole& console) {
  TPlayScreen screen(err, console.Terminal, STDERR_FILENO);
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
