#include <benchmark/benchmark.h>
#include <memory>
#include <unistd.h>

#include "app/game.h"
#include "simulation/feed.h"
#include "recording/recording.h"
#include "../tests/tools/holds.h"

// What recording adds to a pass: the inputs of every pass asked of a feed, plainly and through
// the recorder. Both are a few nanoseconds against a frame's third of a millisecond.
static void BM_GatherPlain(benchmark::State& state)
{
    Holds holds(1);
    PassInput input;
    uint32_t pass = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(holds.gather(pass++, false, input));
}
BENCHMARK(BM_GatherPlain);

static void BM_GatherRecorded(benchmark::State& state)
{
    Holds holds(1);
    const std::string path = "/tmp/riverduel-bench-" + std::to_string(getpid()) + ".rdr";
    std::unique_ptr<PassFeed> recorder(recordingFeed(holds, path));
    GameStart start;
    recorder->begin(start);
    PassInput input;
    uint32_t pass = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(recorder->gather(pass++, false, input));
        if (pass == maxRecordedPasses) { // stay within what one game may hold
            state.PauseTiming();
            recorder->begin(start);
            pass = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_GatherRecorded);
