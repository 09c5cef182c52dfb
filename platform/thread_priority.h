#pragma once
#include <thread>

namespace platform {

// Raises the thread to real-time round-robin scheduling at the highest
// priority where the system grants it; elsewhere the thread keeps its normal
// priority. Returns true when real-time scheduling was granted.
bool RaiseToTimeCriticalPriority(std::thread& thread);

}  // namespace platform
