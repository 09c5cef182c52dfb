#include "platform/thread_priority.h"

#include <pthread.h>

#include "platform/win32/windows_api.h"

namespace platform {

bool RaiseToTimeCriticalPriority(std::thread& thread) {
  const HANDLE handle = pthread_gethandle(thread.native_handle());
  return handle && SetThreadPriority(handle, THREAD_PRIORITY_TIME_CRITICAL) != 0;
}

}  // namespace platform
