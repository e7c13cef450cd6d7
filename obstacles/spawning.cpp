#include "obstacles/lanes.h"
#include "obstacles/rules.h"
#include "riders/live.h"
#include "simulation/random_state.h"

uint32_t lastSpawnTick = 0;

void ObstacleLanes::spawnObstacle()
{
    SharedRandom shared;
    rules::spawn(lanes, ticks.load(), lastSpawnTick, shared.state);
}
