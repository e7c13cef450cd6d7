#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>

#include "classic/session.h"
#include "classic/game.h"
#include "computer/computer.h"
#include "simulation/feed.h"

static double cpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

// The computer riding both riders, its decisions timed in processor time: a busy machine that
// lets the benchmark wait says nothing about the computer.
class TimedComputers : public PassFeed {
public:
    void begin(GameStart& start) override { start.seed = ++seed; }
    void started(const World& world) override
    {
        seen = &world;
        for (int i = 0; i < 2; ++i)
            computers[i] = std::make_unique<ComputerRider>(i, HIGHEST_LEVEL);
    }
    bool gather(uint32_t, bool, PassInput& input) override
    {
        const double before = cpuSeconds();
        input.riders[0] = computers[0]->decide(*seen);
        input.riders[1] = computers[1]->decide(*seen);
        spent += cpuSeconds() - before;
        decisions += 2;
        return true;
    }
    double spent = 0.0;
    long decisions = 0;

private:
    uint32_t seed = 0;
    const World* seen = nullptr;
    std::unique_ptr<ComputerRider> computers[2];
};

// One decision of the computer, over seeded games of the computer against itself played
// through the game's own loop: the busiest play it meets, with the other rider always within
// reach. Each iteration is a whole game; the time reported is that of one decision.
static void BM_ComputerDecision(benchmark::State& state)
{
    TimedComputers computers;
    for (auto _ : state) {
        computers.spent = 0.0;
        computers.decisions = 0;
        playHeadless(defaultGameSetup(), computers, 12000);
        state.SetIterationTime(computers.spent / computers.decisions);
    }
}
BENCHMARK(BM_ComputerDecision)->Iterations(8)->UseManualTime()->Unit(benchmark::kMicrosecond);
