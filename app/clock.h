#pragma once
// The 20 Hz clock, and waiting for its ticks.
#include <atomic>
#include <chrono>
#include <cstdint>

#include "classic/live.h" // ticks

// While a game runs on its own clock (recorded, replayed, online), the main thread moves
// `ticks` on by exactly one per pass and the timer counts `paceTicks` instead, which only
// paces the passes. So every run of a game sees the same `ticks` at the same pass.
extern std::atomic<bool> clockOwned;
extern std::atomic<uint32_t> paceTicks;

void tickHandler();

// Waits until `ticks` reaches `target` (unsigned), giving the processor back meanwhile, and
// returns the next pass's target, `ticks` + 1. Missed ticks are dropped. Without `pause` the
// timer's tick wakes the wait, once a tick; tests pass a nap of their own to step the clock.
uint32_t waitForTick(uint32_t target, void (*pause)(unsigned int milliseconds) = nullptr);
// The same on `paceTicks`.
uint32_t waitForPace(uint32_t target, void (*pause)(unsigned int milliseconds) = nullptr);

// Waits until the counter a game paces by (`paceTicks` when `pace`, else `ticks`) reaches
// `target`, or until `deadline`, whichever comes first: true when the tick came.
bool waitForTickUntil(bool pace, uint32_t target, std::chrono::steady_clock::time_point deadline);

// The vertical retrace before the next pass. In a window, and in a full screen under X, the
// library only imitates one with a 70 Hz timer and waits for it in 1 ms naps, a dozen wake-ups
// a pass for no tearing saved, so those skip it; a real full screen waits as usual.
void waitForRetrace();
