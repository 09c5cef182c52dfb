#pragma once
// Ctrl+C and SIGTERM while files are written: the handler only raises a
// flag, the render loops look at it between blocks and stop, and the
// unfinished files are removed as their writers unwind.
#include <csignal>

class TInterruptGuard {
 public:
  // SIGINT and SIGTERM raise the flag until the guard goes; a second one
  // ends the process at once.
  TInterruptGuard();
  ~TInterruptGuard();
  TInterruptGuard(const TInterruptGuard&) = delete;
  TInterruptGuard& operator=(const TInterruptGuard&) = delete;

 private:
  struct sigaction SavedInterrupt {};
  struct sigaction SavedTerminate {};
};

bool Interrupted();
