#pragma once
// The keys of tarnxm play. Read from the terminal in raw mode (no echo, no
// waiting for Enter) for as long as the reader lives; Ctrl-C and a
// termination signal quit as q does.
#include <signal.h>
#include <termios.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class TPlayAction {
  Pause,
  Quit,
  NextFile,
  PreviousFile,
  SeekBack,
  SeekForward,
  PreviousOrder,
  NextOrder,
  PreviousSubsong,
  NextSubsong,
  ToggleMute,
  UnmuteAll,
  Help,
};

struct TPlayKey {
  TPlayAction Action = TPlayAction::Pause;
  std::int32_t Channel = 0;  // the channel ToggleMute toggles, from 0
  bool operator==(const TPlayKey&) const = default;
};

// What h shows: the keys, one short line each.
extern const std::vector<std::string> PlayKeyHelp;

// Bytes into keys. An Escape may be a key of its own or the start of a
// sequence (the arrows send ESC [ A to D); the decoder holds it until the
// bytes after it come, or until Flush says that none came in time.
class TKeyDecoder {
 public:
  std::vector<TPlayKey> Feed(std::string_view bytes);
  // A held Escape alone is Quit; a sequence cut short means nothing.
  std::vector<TPlayKey> Flush();
  bool Holding() const { return !Held.empty(); }

 private:
  std::string Held;
};

class TKeyReader {
 public:
  // Keys come from fd, or from nowhere when it is -1.
  explicit TKeyReader(int fd);
  ~TKeyReader();
  TKeyReader(const TKeyReader&) = delete;
  TKeyReader& operator=(const TKeyReader&) = delete;

  // Waits up to timeout for keys, and returns them.
  std::vector<TPlayKey> Wait(std::chrono::milliseconds timeout);

 private:
  int Fd;
  TKeyDecoder Decoder;
  bool Raw = false;
  termios Saved{};
  struct sigaction SavedInterrupt {};
  struct sigaction SavedTerminate {};
};
