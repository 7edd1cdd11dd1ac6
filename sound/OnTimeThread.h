#pragma once

#include <pthread.h>

// Lets a thread that starts sounds on time run before the ordinary threads of a busy machine:
// real-time, at a priority under the sound server's own, where the system allows it (root, or
// an audio group's rtprio limit); elsewhere the thread keeps its ordinary priority.
class OnTimeThread
{
public:
    static void prefer(pthread_t thread);
};
