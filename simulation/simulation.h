#pragma once
#include <cstdint>
#include <string>

#include "input/input.h"

class ObstacleLanes;
struct GameSetup;

// What a game needs besides its inputs to be played again exactly: the random generator's
// seed, and the two values that carry over from the run's earlier games.
struct GameStart {
    uint32_t seed = 0;
    uint32_t lastSpawnTick = 0;
    int32_t prevRiderHeightSign = 0;
};

// The run's carried-over values as they stand now, with this seed.
GameStart currentStart(uint32_t seed);

// Starts a game on the game clock that this thread owns: `ticks` 0, the random generator
// seeded, the carried-over values put in, then the usual game setup. After each pass the
// caller moves `ticks` on by exactly one.
void beginGame(const GameSetup& setup, const GameStart& start);

// One pass of the game loop after its ESC test, at `ticks` == the pass number: the speed
// ramp, the slow-down, both riders with these inputs, a spawn attempt, and the obstacle lanes
// (drawn and shown when `draw` is set, only moved and tested otherwise). False when the
// slow-down has just ended the game; then nothing was stepped.
bool stepPass(ObstacleLanes& lanes, const PassInput& input, bool draw);

// A hash of the whole game state, part by part, so that two runs or two machines can tell
// where they parted.
struct StateHash {
    uint64_t clock = 0;  // ticks, river speed, game over, winner, carried-over values
    uint64_t riders = 0;
    uint64_t lanes = 0;
    uint64_t random = 0; // the random generator's position
    uint64_t whole() const;
};
StateHash hashGame(const ObstacleLanes& lanes);
// "riders", "lanes", ... : the first part that differs, or "" when none does.
const char* firstDifference(const StateHash& a, const StateHash& b);

// How a game came out.
struct GameResult {
    bool decided = false; // false: left before a winner was known
    uint8_t winner = 0;
    uint32_t steps = 0;
    StateHash state;
    bool dismissed = false; // a key sent its end screen away before its time was up
};
// "winner NAME steps N state HEX", or "winner none ..." for a game that was left.
std::string resultLine(const GameResult& result);
