#include "app/clock.h"

#include <allegro.h>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

std::atomic<bool> clockOwned{false};
std::atomic<uint32_t> paceTicks{0};

// The timer tells a waiting pass that a tick came, so the pass wakes once a tick.
static std::mutex tickMutex;
static std::condition_variable tickCame;

void tickHandler()
{
    if (clockOwned.load(std::memory_order_relaxed))
        paceTicks.fetch_add(1, std::memory_order_relaxed);
    else
        ticks.fetch_add(1, std::memory_order_relaxed);
    // Taken and let go between the count and the call, so a waiter that saw the old count
    // is already waiting when it is called.
    { std::lock_guard<std::mutex> seen(tickMutex); }
    tickCame.notify_all();
}
END_OF_FUNCTION(tickHandler)

// Without a nap of its own a wait sleeps until the timer's tick wakes it. With one (a test
// stepping the clock) it naps: the timer fires every 50 ms, so once a tick has been seen
// arriving the next one is due 50 ms after it, and the nap lasts until shortly before then.
static uint32_t waitOn(const std::atomic<uint32_t>& counter, uint32_t target,
                       void (*pause)(unsigned int))
{
    using Clock = std::chrono::steady_clock;
    if (!pause) {
        // Woken by the timer's tick; the timeout only covers a count moved by other hands.
        std::unique_lock<std::mutex> lock(tickMutex);
        while (counter.load() < target)
            tickCame.wait_for(lock, std::chrono::milliseconds(50));
        return counter.load() + 1;
    }
    static const std::atomic<uint32_t>* seenCounter = nullptr;
    static uint32_t seen = 0;
    static Clock::time_point seenAt;
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

bool waitForTickUntil(bool pace, uint32_t target, std::chrono::steady_clock::time_point deadline)
{
    const std::atomic<uint32_t>& counter = pace ? paceTicks : ticks;
    std::unique_lock<std::mutex> lock(tickMutex);
    while (counter.load() < target)
        if (tickCame.wait_until(lock, deadline) == std::cv_status::timeout)
            return counter.load() >= target;
    return true;
}

void waitForRetrace()
{
    // Under X the library has no retrace to wait for, even full screen: it imitates one.
#ifdef _WIN32
    const bool imitated = false;
#else
    const bool imitated = system_driver && system_driver->id == SYSTEM_XWINDOWS;
#endif
    if (!is_windowed_mode() && !imitated)
        vsync();
}
