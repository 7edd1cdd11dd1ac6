#include "model/SongClock.h"

#include <condition_variable>
#include <mutex>

namespace {

class SteadyClock : public SongClock
{
public:
    Time now() const override { return std::chrono::steady_clock::now().time_since_epoch(); }

    bool sleepUntil(Time deadline) override
    {
        const std::chrono::steady_clock::time_point until(deadline);
        std::unique_lock<std::mutex> lock(m_lock);
        return !m_woken.wait_until(lock, until, [this] { return m_awake; });
    }

    void wake() override
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_awake = true;
        }
        m_woken.notify_all();
    }

    void rearm() override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_awake = false;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_woken;
    bool m_awake = false;
};

} // namespace

std::unique_ptr<SongClock> SongClock::steady()
{
    return std::make_unique<SteadyClock>();
}
