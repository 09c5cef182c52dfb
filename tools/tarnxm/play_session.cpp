#include "tools/tarnxm/play_session.h"

#include <algorithm>
#include <utility>

#include "tools/tarnxm/play_controls.h"
#include "tools/tarnxm/play_status.h"
#include "tools/tarnxm/text_escape.h"

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double TPlayClock::Seconds() const {
  return std::chrono::duration<double>(Played + (Paused ? 0s : Clock::now() - Since)).count();
}

void TPlayClock::Toggle() {
  if (!Paused) Played += Clock::now() - Since;
  Since = Clock::now();
  Paused = !Paused;
}

bool TPlaySession::Run(TPlaylistEntry first, TKeyReader& keys) {
  // The output thread starts only with a song; the device holds what it
  // renders until the options are in.
  Player.Renderer.SetSong(first.Song);
  Player.Device->Pause();
  Player.Play();
  const bool started = Begin(std::move(first), 1, true);
  Player.Device->Restart();
  if (!started) return false;
  bool playing = true;
  bool playOut = false;
  while (playing) {
    const std::vector<TPlayKey> pressed = keys.Wait(20ms);
    for (const TPlayKey& key : pressed) playing = playing && Press(key);
    if (!playing) break;
    TPlayStatus status = ReadPlayStatus(Player);
    status.Paused = Played.IsPaused();
    status.Subsongs = Subsongs;
    Screen.Show(status, !pressed.empty());
    // The end time is cut where it is heard; the song's own end plays out.
    const bool timeUp = Options.EndSeconds && status.Seconds >= *Options.EndSeconds;
    if (!status.SongEnded && !timeUp) continue;
    Leave();
    playing = Begin(List.Find(static_cast<std::ptrdiff_t>(Index) + 1, 1), 1, timeUp);
    playOut = !playing && !timeUp;
  }
  Screen.Close();
  Leave();
  Player.Stop();
  if (playOut) PlayOut(keys);
  return true;
}

bool TPlaySession::Begin(std::optional<TPlaylistEntry> entry, std::ptrdiff_t step, bool jump) {
  for (; entry; entry = List.Find(static_cast<std::ptrdiff_t>(entry->Index) + step, step)) {
    std::string problem;
    StartSong(Player, entry->Song, Options, jump, problem);
    if (!problem.empty()) {
      List.Reject(entry->Index, problem);
      continue;
    }
    Current = true;
    Index = entry->Index;
    Song = entry->Song;
    Played = TPlayClock(Played.IsPaused());
    UnderrunsBefore = Player.Device->Underruns();
    Subsongs = 0;
    if (List.Size() > 1) {
      const std::string title = PrintableText(DescribeSong(*Song).Title);
      Screen.Message("[" + std::to_string(Index + 1) + "/" + std::to_string(List.Size()) + "] " + List.Path(Index) +
                     (title.empty() ? "" : "  " + title));
    }
    return true;
  }
  return false;
}

void TPlaySession::Leave() {
  if (!Current) return;
  Current = false;
  Screen.Print(Out, "tarnxm: " + List.Path(Index) + ": played " + ClockText(Played.Seconds()) + ", " +
                        std::to_string(Player.Device->Underruns() - UnderrunsBefore) + " underruns");
}

bool TPlaySession::Press(const TPlayKey& key) {
  switch (key.Action) {
    case TPlayAction::Quit: return false;
    case TPlayAction::Pause: TogglePause(); return true;
    case TPlayAction::NextFile: Leave(); return Begin(List.Find(static_cast<std::ptrdiff_t>(Index) + 1, 1), 1, true);
    case TPlayAction::PreviousFile: {
      // Before the first file, the one playing starts again.
      const TPlaylistEntry again{Index, Song};
      Leave();
      return Begin(List.Find(static_cast<std::ptrdiff_t>(Index) - 1, -1), -1, true) || Begin(again, 1, true);
    }
    case TPlayAction::SeekBack: SeekBy(Player, -5); return true;
    case TPlayAction::SeekForward: SeekBy(Player, 5); return true;
    case TPlayAction::PreviousOrder: StepOrder(Player, -1); return true;
    case TPlayAction::NextOrder: StepOrder(Player, 1); return true;
    case TPlayAction::PreviousSubsong: Subsongs = StepSubsong(Player, -1); return true;
    case TPlayAction::NextSubsong: Subsongs = StepSubsong(Player, 1); return true;
    case TPlayAction::ToggleMute: ToggleMute(Player, key.Channel); return true;
    case TPlayAction::UnmuteAll: UnmuteAll(Player); return true;
    case TPlayAction::Help: Screen.ToggleHelp(); return true;
  }
  return true;
}

void TPlaySession::TogglePause() {
  // The device holds its queue, and the thread finds no buffer to refill.
  Player.Enter();
  if (Played.IsPaused()) Player.Device->Restart();
  else Player.Device->Pause();
  Player.Leave();
  Played.Toggle();
}

void TPlaySession::PlayOut(TKeyReader& keys) {
  const Clock::time_point deadline = Clock::now() + 2s;
  while (Clock::now() < deadline) {
    if (std::all_of(Player.Headers.begin(), Player.Headers.end(),
                    [](const platform::TWaveHeader& header) { return header.Flags & platform::WHDR_DONE; }))
      return;
    for (const TPlayKey& key : keys.Wait(10ms))
      if (key.Action == TPlayAction::Quit) return;
  }
}
