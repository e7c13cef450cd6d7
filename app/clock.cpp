#include "app/clock.h"

#include <allegro.h>
#include <chrono>
#include <thread>

std::atomic<bool> clockOwned{false};
std::atomic<uint32_t> paceTicks{0};

void tickHandler()
{
    if (clockOwned.load(std::memory_order_relaxed))
        paceTicks.fetch_add(1, std::memory_order_relaxed);
    else
        ticks.fetch_add(1, std::memory_order_relaxed);
}
END_OF_FUNCTION(tickHandler)

static void nap(unsigned int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The timer fires every 50 ms, so once a tick has been seen arriving the next one is due
// 50 ms after it: sleep until shortly before then, and only from there in 1 ms naps. That is
// a few wake-ups a tick instead of fifty, and the pass still starts within a millisecond.
static uint32_t waitOn(const std::atomic<uint32_t>& counter, uint32_t target,
                       void (*pause)(unsigned int))
{
    using Clock = std::chrono::steady_clock;
    static const std::atomic<uint32_t>* seenCounter = nullptr;
    static uint32_t seen = 0;
    static Clock::time_point seenAt;
    if (!pause)
        pause = nap;
    for (;;) {
        const uint32_t now = counter.load();
        if (now >= target)
            return counter.load() + 1;
        const Clock::time_point t = Clock::now();
        if (&counter != seenCounter || now != seen) {
            seenCounter = &counter;
            seen = now;
            seenAt = t;
        }
        const auto due = seenAt + std::chrono::milliseconds(50) * (target - now);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - t).count();
        pause(left > 3 ? static_cast<unsigned int>(left - 2) : 1u);
    }
}

uint32_t waitForTick(uint32_t target, void (*pause)(unsigned int))
{
    return waitOn(ticks, target, pause);
}

uint32_t waitForPace(uint32_t target, void (*pause)(unsigned int))
{
    return waitOn(paceTicks, target, pause);
}

void waitForRetrace()
{
    if (!is_windowed_mode())
        vsync();
}
