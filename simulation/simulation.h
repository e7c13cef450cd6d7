#pragma once
// What a game needs to be played again: its setup and start, the world and its step, and
// the hash that tells two runs or two machines apart.
#include <cstdint>
#include <string>

#include "input/input.h"
#include "simulation/world.h"

struct RiderSetup {
    char name[20];
    int32_t leftKey;
    int32_t rightKey;
    int32_t actionKey;
};

struct GameSetup {
    RiderSetup riders[2];
};

// What a game needs besides its inputs to be played again exactly: the random generator's
// seed, and the two values that carry over from the run's earlier games.
struct GameStart {
    uint32_t seed = 0;
    uint32_t lastSpawnTick = 0;
    int32_t prevRiderHeightSign = 0;
};

// A game's start as a world: tick 0, the river still, the generator seeded, the carried-over
// values put in, both riders reset, placed and named.
void startWorld(World& world, const GameSetup& setup, const GameStart& start);

// A hash of the whole game state, part by part, so that two runs or two machines can tell
// where they parted.
struct StateHash {
    uint64_t clock = 0;  // ticks, river speed, game over, winner, carried-over values
    uint64_t riders = 0;
    uint64_t lanes = 0;
    uint64_t random = 0; // the random generator's position
    uint64_t whole() const;
    bool operator==(const StateHash& o) const
    {
        return clock == o.clock && riders == o.riders && lanes == o.lanes && random == o.random;
    }
};
StateHash hashWorld(const World& world);
// "riders", "lanes", ... : the first part that differs, or "" when none does.
const char* firstDifference(const StateHash& a, const StateHash& b);

// How a game came out.
struct GameResult {
    bool decided = false; // false: left before a winner was known
    uint8_t winner = 0;
    uint32_t steps = 0;
    StateHash state;
    bool dismissed = false; // a key sent its end screen away before its time was up
    char names[2][20] = {};  // the riders', as the game named them
};
// "winner NAME steps N state HEX", or "winner none ..." for a game that was left.
std::string resultLine(const GameResult& result);
