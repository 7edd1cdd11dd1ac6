#include "sound/OnTimeThread.h"

#include <sched.h>

namespace {
// PulseAudio's own threads take 5 and up (from rtkit).
constexpr int Priority = 3;
} // namespace

void OnTimeThread::prefer(pthread_t thread)
{
    sched_param param{};
    param.sched_priority = Priority;
    pthread_setschedparam(thread, SCHED_FIFO, &param);
}
