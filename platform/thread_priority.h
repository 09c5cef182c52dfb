#pragma once
#include <thread>

namespace platform {

// Raises the thread to the time-critical priority: on Windows the system's
// own, elsewhere real-time round-robin scheduling at the highest priority
// where the system grants it. Where it is not granted the thread keeps its
// normal priority. Returns true when the priority was raised.
bool RaiseToTimeCriticalPriority(std::thread& thread);

}  // namespace platform
