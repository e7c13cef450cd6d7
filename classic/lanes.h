#pragma once
// The live obstacles of one game, a list per kind, and the last spawn.
#include <cstdint>
#include <list>

#include "classic/obstacle.h"
#include "obstacles/obstacle.h"

// Tick of the last obstacle spawned; bridges wait 10 ticks after it. Never reset.
extern uint32_t lastSpawnTick;

class ObstacleLanes {
public:
    ObstacleLanes();
    virtual ~ObstacleLanes();

    void spawnObstacle();
    // Rocks, logs and burgers: drawn, moved, hit-tested and culled; then the bridge shadows.
    void updateLowerLanes(BITMAP* dest, Rider* riders[2]);
    // The same lane step for the bridges.
    void updateBridgeLane(BITMAP* dest, Rider* riders[2]);

    std::list<Obstacle> lanes[4];
};
