#include <allegro.h>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "app/clock.h"
#include "app/game.h"
#include "app/system.h"
#include "obstacles/lanes.h"
#include "riders/rider.h"

// One simulation step of both riders, steering towards each other.
static void BM_UpdateRiders(benchmark::State& state)
{
    setupGame(defaultGameSetup());
    ticks = 100;
    key[KEY_D] = key[KEY_LEFT] = 1;
    for (auto _ : state) {
        updateRiders();
        if (riders[0]->health < 50 || riders[1]->health < 50)
            setupGame(defaultGameSetup());
    }
    key[KEY_D] = key[KEY_LEFT] = 0;
}
BENCHMARK(BM_UpdateRiders);

// One spawn attempt as the game loop makes it, then the lane steps of a cruising river.
static void BM_SpawnAndLaneStep(benchmark::State& state)
{
    setupGame(defaultGameSetup());
    srand(1);
    riverSpeed = 14.815228f;
    ObstacleLanes lanes;
    for (auto _ : state) {
        ++ticks;
        lanes.spawnObstacle();
        lanes.updateLowerLanes(backBuffer, riders);
        lanes.updateBridgeLane(backBuffer, riders);
        if (gameOver)
            setupGame(defaultGameSetup());
    }
}
BENCHMARK(BM_SpawnAndLaneStep);
