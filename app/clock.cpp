#include "app/clock.h"

#include <allegro.h>

std::atomic<uint32_t> ticks{0};

void tickHandler()
{
    ticks.fetch_add(1, std::memory_order_relaxed);
}
END_OF_FUNCTION(tickHandler)

static void nap(unsigned int milliseconds)
{
    rest(milliseconds);
}

uint32_t waitForTick(uint32_t target, void (*pause)(unsigned int))
{
    if (!pause)
        pause = nap;
    // A one-millisecond nap keeps the wake-up within a millisecond of the tick while
    // leaving the processor idle for the rest of the 50 ms.
    while (ticks.load() < target)
        pause(1);
    return ticks.load() + 1;
}
