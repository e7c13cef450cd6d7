#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>

#include "app/clock.h"
#include "app/game.h"
#include "computer/computer.h"
#include "simulation/simulation.h"

static double cpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

// One decision of the computer, over seeded games of the computer against itself: the
// busiest play it meets, with the other rider always within reach. Only the decisions are
// timed, not the passes between them, and in processor time: a busy machine that lets the
// benchmark wait says nothing about the computer.
static void BM_ComputerDecision(benchmark::State& state)
{
    uint32_t seed = 1;
    GameStart start;
    start.seed = seed;
    auto world = std::make_unique<World>();
    startWorld(*world, defaultGameSetup(), start);
    std::unique_ptr<ComputerRider> computers[2] = {std::make_unique<ComputerRider>(0),
                                                   std::make_unique<ComputerRider>(1)};
    uint32_t pass = 0;
    for (auto _ : state) {
        PassInput input;
        world->ticks = pass;
        const double before = cpuSeconds();
        input.riders[0] = computers[0]->decide(*world);
        input.riders[1] = computers[1]->decide(*world);
        state.SetIterationTime((cpuSeconds() - before) / 2.0);
        Cues cues;
        if (stepWorld(*world, input, cues)) {
            ++pass;
            continue;
        }
        start = GameStart();
        start.seed = ++seed;
        world = std::make_unique<World>();
        startWorld(*world, defaultGameSetup(), start);
        for (int i = 0; i < 2; ++i)
            computers[i] = std::make_unique<ComputerRider>(i);
        pass = 0;
    }
}
BENCHMARK(BM_ComputerDecision)->UseManualTime()->Unit(benchmark::kMicrosecond);
