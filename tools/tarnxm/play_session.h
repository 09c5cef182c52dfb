#pragma once
// The files of tarnxm play on the player, one after another, with the keys
// and the status, until the last one ends or q.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>

#include "player/output/player.h"
#include "tools/tarnxm/play_keys.h"
#include "tools/tarnxm/play_list.h"
#include "tools/tarnxm/play_screen.h"
#include "tools/tarnxm/sound_options.h"

// The time a file has played, without the pauses.
class TPlayClock {
 public:
  explicit TPlayClock(bool paused = false) : Paused(paused) {}
  double Seconds() const;
  bool IsPaused() const { return Paused; }
  void Toggle();

 private:
  std::chrono::steady_clock::duration Played{};
  std::chrono::steady_clock::time_point Since = std::chrono::steady_clock::now();
  bool Paused;
};

class TPlaySession {
 public:
  // The options' loops are play's: -1 for ever. Each file played gets a line
  // on out when it is left, with the time it played and its underruns.
  TPlaySession(TTarnXM& player, TPlaylist& list, TPlayScreen& screen, std::ostream& out, const TSoundOptions& options)
      : Player(player), List(list), Screen(screen), Out(out), Options(options) {}

  // Plays from first (which has loaded) on. False when neither it nor any
  // file after it plays.
  bool Run(TPlaylistEntry first, TKeyReader& keys);

 private:
  // The entry's song, or that of the first file after it (by step) that
  // loads and takes the options. False when there is none.
  bool Begin(std::optional<TPlaylistEntry> entry, std::ptrdiff_t step, bool jump);
  void Leave();
  // False when play is over.
  bool Press(const TPlayKey& key);
  void TogglePause();
  // The end of the last song plays out from the device's queue.
  void PlayOut(TKeyReader& keys);

  TTarnXM& Player;
  TPlaylist& List;
  TPlayScreen& Screen;
  std::ostream& Out;
  const TSoundOptions& Options;
  // The file playing.
  bool Current = false;
  std::size_t Index = 0;
  std::shared_ptr<const TTarnXMSong> Song;
  TPlayClock Played;
  std::uint32_t UnderrunsBefore = 0;
  std::int32_t Subsongs = 0;  // 0 until a subsong key has looked for them
};
