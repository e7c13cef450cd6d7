#pragma once
// The live game's shared values, as the game's named operations read and write them. A world
// (simulation/world.h) holds the same values for any game; these are the one on show.
#include <atomic>
#include <cstdint>

// The 20 Hz game clock: the timer thread adds one every 50 ms, the main thread reads it
// for all timing and sets it back to 0 at the start of a game and after it.
extern std::atomic<uint32_t> ticks;
// Pixels per tick the river moves down the screen: 0 at the start, ~14.8 when cruising.
extern float riverSpeed;
// Set once per game by the first rider to run out of health; cleared by setupGame.
extern bool gameOver;
extern uint8_t winner;
