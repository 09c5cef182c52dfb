#pragma once
#include <thread>

namespace platform {

// Raises the thread to the highest priority the system grants: real-time
// round-robin where allowed, else the least niceness allowed, else unchanged.
// Returns true when real-time scheduling was granted.
bool RaiseToTimeCriticalPriority(std::thread& thread);

}  // namespace platform
