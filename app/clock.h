#pragma once
#include <atomic>
#include <cstdint>

// The 20 Hz game clock: the timer thread adds one every 50 ms, the main thread reads it
// for all timing and sets it back to 0 at the start of a game and after it.
extern std::atomic<uint32_t> ticks;

void tickHandler();

// Waits until `ticks` reaches `target` (unsigned), giving the processor back in short
// naps, and returns the next pass's target, `ticks` + 1. Missed ticks are dropped.
// `pause` is the nap; tests pass their own to step the clock.
uint32_t waitForTick(uint32_t target, void (*pause)(unsigned int milliseconds) = nullptr);
