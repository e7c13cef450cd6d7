// The delay from a pass to the first picture that shows it, and the pictures a second, in the
// classic game (one picture a pass) and with --smooth, side by side in one window: rounds of
// each in turn, the same seeded game with the same scripted keys. The pass starts when the
// 20 Hz timer's tick comes (a watcher thread notes it to within 0.1 ms); its picture is shown
// once it has been sent to the X server.
// Usage (from the build directory, under xvfb-run): bench/pass_delay [PASSES] [ROUNDS]
#include <allegro.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "app/clock.h"
#include "app/run.h"
#include "app/stage.h"
#include "app/window.h"
#include "audio/sound.h"
#include "classic/game.h"
#include "presentation/display.h"
#include "presentation/frame.h"

using Clock = std::chrono::steady_clock;

namespace {

// Both riders steer and jump at random, the same way every round.
class ScriptedKeys : public PassFeed {
public:
    bool gather(uint32_t pass, bool, PassInput& input) override
    {
        for (int i = 0; i < 2; ++i) {
            const uint32_t k = (pass / 7 + i * 3) * 2654435761u >> 28;
            input.riders[i].left = k < 5;
            input.riders[i].right = k > 10;
            input.riders[i].action = k == 7 || k == 8;
        }
        return true;
    }
};

// When each tick came, from a thread that looks every 0.1 ms. A tick it did not see come (it
// was kept waiting, on a busy machine) is left out.
std::atomic<bool> watching{true};
struct TickSeen {
    std::atomic<uint32_t> tick{UINT32_MAX};
    Clock::time_point at;
} tickTimes[4096];

void watchTicks()
{
    uint32_t seen = paceTicks.load();
    while (watching) {
        const uint32_t now = paceTicks.load();
        if (now == seen + 1) {
            tickTimes[now % 4096].at = Clock::now();
            tickTimes[now % 4096].tick = now;
        }
        seen = now;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

// Notes, for each pass, how long after its tick its picture was sent.
class TimedStage : public WindowStage {
public:
    TimedStage() : WindowStage(true) {}
    void showPass(const World& world, const PassInput& input, const Cues& cues) override
    {
        const uint32_t tick = paceTicks.load();
        WindowStage::showPass(world, input, cues);
        // The first pass runs at once, on no tick of its own.
        const TickSeen& came = tickTimes[tick % 4096];
        if (came.tick == tick && passes++ > 0)
            delays.push_back(std::chrono::duration<double, std::milli>(passShownAt - came.at).count());
    }
    std::vector<double> delays;
    uint32_t passes = 0;
};

struct Tally {
    std::vector<double> delays;
    uint32_t pictures = 0;
    double seconds = 0.0;
};

void round(bool smooth, uint32_t passes, BITMAP* ownBuffer, Tally& tally)
{
    windowRequest.smooth = smooth;
    BITMAP* inScreen = pictureInScreen();
    backBuffer = smooth && inScreen ? inScreen : ownBuffer;
    ScriptedKeys keys;
    World world;
    startWorld(world, defaultGameSetup(), currentStart(20261209));
    TimedStage stage;
    const Clock::time_point start = Clock::now();
    playGame(world, keys, stage, passes);
    tally.seconds += std::chrono::duration<double>(Clock::now() - start).count();
    tally.pictures += stage.pictures;
    tally.delays.insert(tally.delays.end(), stage.delays.begin(), stage.delays.end());
}

void report(const char* name, Tally& t)
{
    if (t.delays.empty())
        return;
    std::sort(t.delays.begin(), t.delays.end());
    const auto at = [&t](double q) { return t.delays[static_cast<size_t>(q * (t.delays.size() - 1))]; };
    std::printf("%-8s %8.1f %10.2f %10.2f %10.2f\n", name, t.pictures / t.seconds, at(0.5), at(0.95), t.delays.back());
}

} // namespace

int main(int argc, char** argv)
{
    const uint32_t passes = argc > 1 ? static_cast<uint32_t>(std::atoi(argv[1])) : 100;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    setSoundVolume(0);
    if (!startUp())
        return 1;
    BITMAP* ownBuffer = backBuffer;
    std::thread watcher(watchTicks);
    Tally classic, smooth;
    for (int r = 0; r < rounds; ++r) {
        round(false, passes, ownBuffer, classic);
        round(true, passes, ownBuffer, smooth);
    }
    watching = false;
    watcher.join();
    std::printf("%-8s %8s %10s %10s %10s\n", "", "pict/s", "delay p50", "p95", "max (ms)");
    report("classic", classic);
    report("smooth", smooth);
    return 0;
}
END_OF_MAIN()
