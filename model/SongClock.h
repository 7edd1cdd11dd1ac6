#pragma once

#include <chrono>
#include <memory>

// The time a song plays by: the player waits on it for each entry's deadline, so tests can run a
// song on a clock of their own in no time.
class SongClock
{
public:
    using Time = std::chrono::nanoseconds;

    virtual ~SongClock() = default;

    virtual Time now() const = 0;
    // Returns when the deadline has come (true) or when woken before it (false).
    virtual bool sleepUntil(Time deadline) = 0;
    // Ends the current sleep and every later one, until rearmed.
    virtual void wake() = 0;
    virtual void rearm() = 0;

    // The machine's monotonic clock.
    static std::unique_ptr<SongClock> steady();
};
