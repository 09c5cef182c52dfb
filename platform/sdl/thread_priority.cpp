#include "platform/thread_priority.h"

#include <pthread.h>
#include <sched.h>

namespace platform {

bool RaiseToTimeCriticalPriority(std::thread& thread) {
  sched_param parameter{};
  parameter.sched_priority = sched_get_priority_max(SCHED_RR);
  if (parameter.sched_priority > 0 && pthread_setschedparam(thread.native_handle(), SCHED_RR, &parameter) == 0)
    return true;
  return false;
}

}  // namespace platform
