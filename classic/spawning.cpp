#include "classic/lanes.h"
#include "obstacles/rules.h"
#include "classic/live.h"
#include "classic/random.h"

uint32_t lastSpawnTick = 0;

void ObstacleLanes::spawnObstacle()
{
    SharedRandom shared;
    rules::spawn(lanes, ticks.load(), lastSpawnTick, shared.state);
}
