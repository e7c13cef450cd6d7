#include <cstdlib>

#include "app/clock.h"
#include "obstacles/lanes.h"

uint32_t lastSpawnTick = 0;

void ObstacleLanes::spawnObstacle()
{
    const int kind = rand() % 4;
    const uint32_t now = ticks.load();
    // Unsigned on purpose: a tick left over from the last game wraps and lets the bridge through.
    if (kind == KIND_BRIDGE && now - lastSpawnTick < 10u)
        return;
    lastSpawnTick = now;
    const int phase = rand() % 20;
    ObstacleKind& k = obstacleKinds[kind];
    lanes[kind].push_back(Obstacle(&k.sprite, k.layerMask, k.damage, k.ownSpeed, phase, k.sound));
}
