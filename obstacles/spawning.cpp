#include "obstacles/lanes.h"
#include "obstacles/rules.h"
#include "riders/live.h"

uint32_t lastSpawnTick = 0;

void ObstacleLanes::spawnObstacle()
{
    rules::spawn(lanes, ticks.load(), lastSpawnTick);
}
