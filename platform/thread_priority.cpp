#include "platform/thread_priority.h"

#include <pthread.h>
#include <sched.h>

namespace platform {

bool RaiseToTimeCriticalPriority(std::thread& thread) {
  sched_param parameter{};
  parameter.sched_priority = sched_get_priority_max(SCHED_RR);
  if (parameter.sched_priority > 0 && pthread_setschedparam(thread.native_handle(), SCHED_RR, &parameter) == 0)
    return true;
  // Without the right to real-time scheduling the thread keeps the normal
  // policy; a smaller niceness needs rights the process rarely has either.
  return false;
}

}  // namespace platform
