#pragma once
// The whole game as one value: everything a pass reads or writes, stepped without a window or
// a sound, so it can be saved, put back and stepped again.
#include <cstdint>
#include <vector>

#include "input/input.h"
#include "obstacles/obstacle.h"
#include "riders/cues.h"
#include "riders/rules.h"
#include "riders/random.h"

// An obstacle as a frame shows it: its kind, and where it stood before this pass moved it.
struct ShownObstacle {
    int32_t kind;
    float x, y;
    int32_t phase;
};

struct World {
    uint32_t ticks = 0; // the tick of the pass being stepped; the pass before it afterwards
    float riverSpeed = 0.0f;
    bool gameOver = false;
    uint8_t winner = 0;
    // Carried over from a run's earlier games.
    uint32_t lastSpawnTick = 0;
    int32_t prevRiderHeightSign = 0;
    RiderState riders[2];
    char names[2][20] = {};
    std::vector<ObstacleState> lanes[4];
    RandomState random;
    // What the last pass's frame shows beside the state it left: rocks, logs and burgers, then
    // bridges, where they stood before they moved (eaten and passed ones too), and each rider's
    // blink before the obstacles touched it.
    std::vector<ShownObstacle> shownLower;
    std::vector<ShownObstacle> shownBridges;
    uint32_t blinkBeforeLanes[2] = {0, 0};
};

// River speed for the ramp pass at tick t (t < 10): a quarter sine up to ~14.8.
float rampSpeed(uint32_t t);

// One pass at `world.ticks`: the speed ramp, the slow-down, both riders with these inputs, a
// spawn attempt, and the obstacle lanes. Nothing is drawn or played: the pass's sounds are added
// to `cues`, their pitches drawn from the world's generator as they happen. False when the
// slow-down has just ended the game; then nothing else was stepped.
bool stepWorld(World& world, const PassInput& input, Cues& cues);

// The obstacles' part of a pass, after the riders and the spawn: each lane shown, moved,
// tested against the riders and culled, rocks first and bridges last.
void moveObstacles(World& world, Cues& cues);
