#pragma once
// The keys of tarnxm play: Space pauses and goes on, q or Escape quits.
// Read from the terminal in raw mode (no echo, no waiting for Enter) for as
// long as the reader lives; Ctrl-C and a termination signal quit as q does.
#include <signal.h>
#include <termios.h>

#include <chrono>
#include <string_view>
#include <vector>

enum class TPlayKey { Pause, Quit };

// The keys in bytes read at once: Space, q or Q, and an Escape that is not
// the start of a sequence (an arrow or a function key, which mean nothing).
std::vector<TPlayKey> KeysFromInput(std::string_view bytes);

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
  bool Raw = false;
  termios Saved{};
  struct sigaction SavedInterrupt {};
  struct sigaction SavedTerminate {};
};
