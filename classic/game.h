#pragma once
// The classic game's start on its globals: the riders set up, the run's carried-over values,
// and its state hashed.
#include <cstdint>

#include "simulation/simulation.h"

class ObstacleLanes;

// "Rudko" on A / D / S and "Berto" on the arrows LEFT / RIGHT / DOWN.
GameSetup defaultGameSetup();

// River speed 0, the game undecided, both riders reset, placed, named and given their keys.
void setupGame(const GameSetup& setup);

// The run's carried-over values as they stand now, with this seed.
GameStart currentStart(uint32_t seed);

// Starts a game on the game clock that this thread owns: `ticks` 0, the C library's generator
// seeded, the carried-over values put in, then the usual game setup. After each pass the
// caller moves `ticks` on by exactly one.
void beginGame(const GameSetup& setup, const GameStart& start);

// The live game's state with these lanes.
StateHash hashGame(const ObstacleLanes& lanes);
