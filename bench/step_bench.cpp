#include <allegro.h>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "classic/obstacle.h"
#include "classic/game.h"
#include "app/clock.h"
#include "app/game.h"
#include "app/system.h"
#include "classic/lanes.h"
#include "obstacles/rules.h"
#include "classic/rider.h"
#include "simulation/simulation.h"

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

// A river in full flow as a world: both riders, one in the air, four rocks, three logs, three
// burgers and a bridge, and the frame's record of them.
static World busyWorld()
{
    World world;
    startWorld(world, defaultGameSetup(), GameStart());
    world.riders[1].height = 60.0f;
    world.riders[1].state = STATE_AIRBORNE;
    world.riverSpeed = 14.815228f;
    world.ticks = 100;
    RandomState random = seededRandom(3);
    for (int i = 0; i < 11; ++i) {
        const int kind = i < 4 ? KIND_ROCK : i < 7 ? KIND_LOG : i < 10 ? KIND_BURGER : KIND_BRIDGE;
        ObstacleKind& k = obstacleKinds[kind];
        world.lanes[kind].push_back(Obstacle(&k.sprite, k.layerMask, k.damage, k.ownSpeed, i, k.sound));
        world.lanes[kind].back().x = rules::startX(world.lanes[kind].back().width, random);
        world.lanes[kind].back().y = 500.0f - 60 * i;
    }
    Cues cues;
    moveObstacles(world, cues);
    return world;
}

// Saving the whole game and putting it back, as rolling back does at every pass.
static void BM_SaveBusyWorld(benchmark::State& state)
{
    const World world = busyWorld();
    World saved = world;
    for (auto _ : state) {
        saved = world;
        benchmark::DoNotOptimize(&saved);
    }
}
BENCHMARK(BM_SaveBusyWorld);

static void BM_RestoreBusyWorld(benchmark::State& state)
{
    const World saved = busyWorld();
    World world = saved;
    Cues cues;
    for (auto _ : state) {
        world = saved;
        benchmark::DoNotOptimize(&world);
    }
}
BENCHMARK(BM_RestoreBusyWorld);

// One whole pass of a world, silent: what re-stepping a pass costs.
static void BM_StepWorld(benchmark::State& state)
{
    World world;
    GameStart start;
    startWorld(world, defaultGameSetup(), start);
    PassInput input;
    uint32_t pass = 0;
    for (auto _ : state) {
        input.riders[0] = {pass % 40 < 10, pass % 40 >= 30, pass % 25 < 3};
        input.riders[1] = {pass % 30 >= 20, pass % 30 < 8, pass % 35 < 2};
        world.ticks = pass++;
        Cues cues;
        if (!stepWorld(world, input, cues)) {
            start.seed++;
            startWorld(world, defaultGameSetup(), start);
            pass = 0;
        }
    }
}
BENCHMARK(BM_StepWorld);
