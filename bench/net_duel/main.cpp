// Two online riders in one process, headless, each at 20 passes a second on its own clock,
// talking through a loopback proxy (in a thread of its own) that delays, jitters and drops
// datagrams. Each side plays in a thread of its own through the game's one pass loop,
// guessing the other's keys and taking wrong guesses back. Plays games back to back until the
// given length is reached (the host then leaves with ESC, at a pass both agree on), then
// prints what the network cost: the input delay, passes stepped again, time lost to stalled
// passes, bytes each way, the processor of the pass loop and of stepping again, and whether
// the two games ever parted.
// Usage: net_duel [--seconds S] [--delay MS] [--jitter MS] [--loss FRACTION] [--seed N]
//                 [--input-delay N]
// Exit status 0 when both sides played the same games to the same states without drifting.
// NET_DUEL_DEBUG=1 lists every pass that had to wait.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "classic/game.h"
#include "network/duel.h"
#include "proxy.h"
#include "simulation/feed.h"
#include "classic/headless.h"

namespace {

using Clock = std::chrono::steady_clock;
const auto PASS = std::chrono::milliseconds(50);

struct SideResult {
    uint32_t passes = 0, lostTicks = 0, waitedPasses = 0, games = 0;
    double waitedMs = 0;
    uint32_t rolledBack = 0, deepest = 0, stalled = 0, inputDelay = 0;
    double loopCpuMs = 0; // the processor in the pass loop, this side
    std::string hashes, why;
};

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Nowhere to show the game; ESC once the bench has played long enough.
struct BenchStage : Stage {
    bool leave = false;
    bool escape() override { return leave; }
};

// Holds of random keys, 5 to 30 passes each, the same every run for a side.
struct Script {
    std::mt19937 keys;
    uint32_t holdLeft = 0;
    RiderInput holding;
    RiderInput next()
    {
        if (holdLeft == 0) {
            const unsigned r = keys();
            holding = {(r & 3) == 1, (r & 3) == 2, (r & 12) == 4};
            holdLeft = 5 + keys() % 26;
        }
        --holdLeft;
        return holding;
    }
};
Script scripts[2];
RiderInput hostKeys() { return scripts[0].next(); }
RiderInput joinerKeys() { return scripts[1].next(); }

// One side: its duel, its world, and the game it is playing, a pass at a time.
struct Side {
    bool hosting;
    Duel duel;
    SideResult out;
    World world;
    BenchStage nowhere;
    std::unique_ptr<GameRun> run;
    Clock::time_point t0, due, lastStep, asked, menuSince;
    bool waiting = false;
    uint32_t shown = 0; // passes of this game stepped and shown
    World busy;

    Side(bool hosting, uint16_t port, int inputDelay)
        : hosting(hosting),
          duel(hosting, "127.0.0.1", port, hosting ? hostKeys : joinerKeys, inputDelay)
    {
    }

    // Between games: the menu, until both sides have clicked and a game starts.
    void menu(uint32_t seed)
    {
        duel.poll();
        if (!hosting && duel.connected())
            duel.clicked();
        if (!duel.startsGame()) {
            if (Clock::now() - menuSince > std::chrono::seconds(15))
                out.why = std::string("no game started: ") + duel.status();
            return;
        }
        // Each side carries its own values over from its last game.
        GameStart start;
        start.seed = seed + out.games;
        start.lastSpawnTick = world.lastSpawnTick;
        start.prevRiderHeightSign = world.prevRiderHeightSign;
        duel.begin(start);
        startWorld(world, defaultGameSetup(), start);
        run = std::make_unique<GameRun>(world, duel, nowhere);
        t0 = due = lastStep = Clock::now();
        waiting = false;
        shown = 0;
    }

    // The next pass when it is due; a pass whose inputs are late is asked again.
    void play(uint32_t passes)
    {
        const Clock::time_point now = Clock::now();
        if (now < due)
            return;
        if (!waiting)
            asked = now;
        // The host leaves once the bench has played long enough; the joiner follows.
        nowhere.leave = hosting && out.passes >= passes;
        const double cpu = threadCpuMs();
        const GameRun::Turn turn = run->next();
        out.loopCpuMs += threadCpuMs() - cpu;
        if (turn == GameRun::WAITING) {
            if (now - asked > std::chrono::seconds(10))
                out.why = "stuck at pass " + std::to_string(run->pass()) + " of game " +
                          std::to_string(out.games + 1) + ": " + duel.status();
            waiting = true;
            return;
        }
        if (turn == GameRun::STEPPED) {
            if (waiting) {
                ++out.waitedPasses;
                const double ms = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
                out.waitedMs += ms;
                if (getenv("NET_DUEL_DEBUG"))
                    std::fprintf(stderr, "%s game %u pass %u waited %.1f ms\n", hosting ? "host" : "join",
                                 out.games, run->pass() - 1, ms);
            }
            waiting = false;
            lastStep = Clock::now();
            ++out.passes;
            if (++shown == 300)
                busy = world; // a river in flow, for the cost of stepping again

            due = t0 + ((lastStep - t0) / PASS + 1) * PASS;
            return;
        }
        // Pass N steps in tick N of the game's pace unless something held it up.
        if (shown > 0)
            out.lostTicks += uint32_t((lastStep - t0) / PASS) - (shown - 1);
        const OnlineGameCount& count = duel.count();
        out.rolledBack += count.rolledBack;
        out.deepest = std::max(out.deepest, count.deepest);
        out.stalled += count.stalled();
        out.inputDelay = count.inputDelay;
        char line[64];
        std::snprintf(line, sizeof line, "%u:%016llx ", run->result().steps,
                      (unsigned long long)run->result().state.whole());
        out.hashes += line;
        ++out.games;
        if (duel.broken()) {
            out.why = duel.brokenWhy();
        } else {
            duel.afterGame(run->result());
        }
        run.reset();
        menuSince = Clock::now();
    }

    bool done(uint32_t passes) const { return !out.why.empty() || (!run && out.passes >= passes); }
    // What the joiner's thread may read of the host's.
    std::atomic<bool> over{false};
    std::atomic<uint32_t> games{0};
    // The joiner plays on until the host leaves.
    bool finished(uint32_t passes, const Side& host) const
    {
        return hosting ? done(passes) : !out.why.empty() || (!run && host.over && out.games >= host.games);
    }
};

uint16_t freePort()
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
    socklen_t size = sizeof at;
    getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size);
    close(fd);
    return ntohs(at.sin_port);
}

std::atomic<bool> sidesDone{false};
bool proxyStops()
{
    return sidesDone.load();
}

// Each side in a thread of its own, until both have played their passes or given up: the
// two games share nothing but the proxy between them.
void playBoth(Side& host, Side& joiner, uint32_t passes, uint32_t seed)
{
    Side* const sides[2] = {&host, &joiner};
    std::atomic<int> finished{0};
    std::thread threads[2];
    for (int s = 0; s < 2; ++s)
        threads[s] = std::thread([&, s] {
            Side& side = *sides[s];
            side.menuSince = Clock::now();
            bool counted = false;
            while (finished < 2) {
                const bool over = side.finished(passes, host);
                if (over)
                    side.duel.poll();
                else if (side.run)
                    side.play(passes);
                else
                    side.menu(seed);
                side.games = side.out.games;
                side.over = side.done(passes);
                if (over && !counted)
                    counted = true, ++finished;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    // Let the other side finish its last game before leaving.
    const auto linger = Clock::now() + std::chrono::milliseconds(500);
    while (Clock::now() < linger) {
        for (Side* side : sides)
            side->duel.poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (Side* side : sides)
        side->duel.quitting();
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = 180;
    int inputDelay = AUTO_INPUT_DELAY;
    ProxyFaults faults;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        const double value = std::atof(argv[i + 1]);
        if (arg == "--seconds") seconds = value;
        else if (arg == "--delay") faults.delayMs = int(value);
        else if (arg == "--jitter") faults.jitterMs = int(value);
        else if (arg == "--loss") faults.loss = value;
        else if (arg == "--seed") faults.seed = uint32_t(value);
        else if (arg == "--input-delay") inputDelay = int(value);
        else { std::fprintf(stderr, "net_duel: unknown option %s\n", arg.c_str()); return 2; }
    }
    const uint32_t passes = uint32_t(seconds * 20);
    const uint16_t hostPort = freePort(), proxyPort = freePort();
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    if (!startHeadless(geometry)) {
        std::fprintf(stderr, "net_duel: the rules did not start\n");
        return 2;
    }
    scripts[0].keys.seed(faults.seed * 2 + 1);
    scripts[1].keys.seed(faults.seed * 2);
    Side host(true, hostPort, inputDelay), joiner(false, proxyPort, inputDelay);
    SideResult r[2];
    if (!host.duel.open() || !joiner.duel.open()) {
        std::fprintf(stderr, "net_duel: %s %s\n", host.duel.status(), joiner.duel.status());
        return 2;
    }
    const auto started = Clock::now();
    ProxyCount count;
    std::thread proxy([&] { count = runProxy(proxyPort, hostPort, faults, proxyStops); });
    playBoth(host, joiner, passes, faults.seed);
    sidesDone = true;
    proxy.join();
    const double wall = std::chrono::duration<double>(Clock::now() - started).count();
    r[0] = host.out;
    r[1] = joiner.out;
    std::printf("proxy: %d ms one way, +-%d ms jitter, %.1f%% loss each way; %.0f s of wall time\n",
                faults.delayMs, faults.jitterMs, faults.loss * 100, wall);
    const char* names[2] = {"host", "joiner"};
    for (int s = 0; s < 2; ++s)
        std::printf("%-6s: %u passes in %u games, %u ticks lost to stalls (%.2f%% of the game), "
                    "%u passes waited %.0f ms in all%s%s\n",
                    names[s], r[s].passes, r[s].games, r[s].lostTicks,
                    r[s].passes ? 100.0 * r[s].lostTicks / r[s].passes : 0.0, r[s].waitedPasses,
                    r[s].waitedMs, r[s].why.empty() ? "" : "; stopped: ", r[s].why.c_str());
    const double gameSeconds = r[0].passes / 20.0;
    // What stepping one pass again costs: the world saved and stepped, silently, from where
    // the host's game stood at its pass 300 (a river in flow), 40 passes at a time.
    const World base = host.busy;
    World world = base, saved;
    const int trials = 4000;
    const double cpu = threadCpuMs();
    for (int i = 0; i < trials; ++i) {
        if (i % 40 == 0)
            world = base;
        saved = world;
        world.ticks = base.ticks + uint32_t(i % 40);
        Cues unheard;
        PassInput input;
        input.riders[i / 40 % 2].right = true;
        if (!stepWorld(world, input, unheard))
            world = saved;
    }
    const double stepUs = (threadCpuMs() - cpu) * 1000.0 / trials;
    if (getenv("NET_DUEL_DEBUG"))
        std::fprintf(stderr, "busy world: ticks %u, obstacles %zu %zu %zu %zu, over %d\n", base.ticks,
                     base.lanes[0].size(), base.lanes[1].size(), base.lanes[2].size(), base.lanes[3].size(), base.gameOver);
    for (int s = 0; s < 2; ++s)
        std::printf("%-6s: input delay %u, rolled back %u passes (%.2f a second), deepest %u, "
                    "stalled %u passes (%.2f%%); pass loop %.2f ms of processor a second, "
                    "stepping again %.1f us a second (%.2f us a pass)\n",
                    names[s], r[s].inputDelay, r[s].rolledBack, r[s].rolledBack / gameSeconds,
                    r[s].deepest, r[s].stalled, r[s].passes ? 100.0 * r[s].stalled / r[s].passes : 0.0,
                    r[s].loopCpuMs / gameSeconds, r[s].rolledBack / gameSeconds * stepUs, stepUs);
    for (int way = 0; way < 2; ++way)
        std::printf("%s: %.0f bytes/s of UDP payload (%.0f with IP and UDP headers), %.1f datagrams/s, %llu dropped\n",
                    way == 0 ? "joiner to host" : "host to joiner", count.bytes[way] / gameSeconds,
                    (count.bytes[way] + 28.0 * count.datagrams[way]) / gameSeconds,
                    count.datagrams[way] / gameSeconds, (unsigned long long)count.dropped[way]);
    const bool same = r[0].hashes == r[1].hashes && !r[0].hashes.empty();
    std::printf("games %s: %s\n", same ? "agree" : "DIFFER", r[0].hashes.c_str());
    if (!same)
        std::printf("joiner's games: %s\n", r[1].hashes.c_str());
    return same && r[0].why.empty() && r[1].why.empty() && r[0].passes >= passes ? 0 : 1;
}
