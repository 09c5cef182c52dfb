#include "tools/tarnxm/interrupt.h"

#include <atomic>

namespace {

std::atomic<bool> Flag{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void Raise(int) { Flag.store(true); }

}  // namespace

TInterruptGuard::TInterruptGuard() {
  Flag.store(false);
  struct sigaction action {};
  action.sa_handler = Raise;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, &SavedInterrupt);
  sigaction(SIGTERM, &action, &SavedTerminate);
}

TInterruptGuard::~TInterruptGuard() {
  sigaction(SIGINT, &SavedInterrupt, nullptr);
  sigaction(SIGTERM, &SavedTerminate, nullptr);
}

bool Interrupted() { return Flag.load(); }
