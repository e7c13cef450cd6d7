#include "obstacles/lanes.h"

uint32_t lastSpawnTick = 0;

// STAND-IN until the lanes land.
ObstacleLanes::ObstacleLanes() = default;
ObstacleLanes::~ObstacleLanes() = default;
void ObstacleLanes::spawnObstacle() {}
void ObstacleLanes::updateLowerLanes(BITMAP*, Rider**) {}
void ObstacleLanes::updateBridgeLane(BITMAP*, Rider**) {}
