// Two lockstep riders in two processes, headless, each at 20 passes a second on its own
// clock, talking through a loopback proxy that delays, jitters and drops datagrams. Plays
// games back to back until the given length is reached, then prints what the network cost:
// time lost to stalled passes, bytes each way, and whether the two games ever parted.
// Usage: net_duel [--seconds S] [--delay MS] [--jitter MS] [--loss FRACTION] [--seed N]
// Exit status 0 when both sides played the same games to the same states without drifting.
// NET_DUEL_DEBUG=1 lists every pass that had to wait.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/clock.h"
#include "app/game.h"
#include "network/duel.h"
#include "obstacles/lanes.h"
#include "proxy.h"
#include "simulation/headless.h"
#include "simulation/simulation.h"

namespace {

using Clock = std::chrono::steady_clock;
const auto PASS = std::chrono::milliseconds(50);

struct SideResult {
    uint32_t passes = 0, lostTicks = 0, waitedPasses = 0, games = 0;
    double waitedMs = 0;
    std::string hashes, why;
};

// Holds of random keys, 5 to 30 passes each, the same every run for a side.
std::mt19937 keys;
uint32_t holdLeft = 0;
RiderInput holding;
RiderInput scripted()
{
    if (holdLeft == 0) {
        const unsigned r = keys();
        holding = {(r & 3) == 1, (r & 3) == 2, (r & 12) == 4};
        holdLeft = 5 + keys() % 26;
    }
    --holdLeft;
    return holding;
}

void nap() { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }

// One side: connects, then plays games back to back for `passes` passes in all.
SideResult side(bool hosting, uint16_t port, uint32_t passes, uint32_t seed)
{
    SideResult out;
    keys.seed(seed * 2 + hosting);
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    if (!startHeadless(geometry)) {
        out.why = "the rules did not start";
        return out;
    }
    Duel duel(hosting, "127.0.0.1", port, scripted);
    if (!duel.open()) {
        out.why = duel.status();
        return out;
    }
    const GameSetup setup = defaultGameSetup();
    while (out.passes < passes) {
        const auto giveUp = Clock::now() + std::chrono::seconds(15);
        while (!duel.startsGame() && Clock::now() < giveUp) {
            duel.poll();
            if (!hosting && duel.connected())
                duel.clicked();
            nap();
        }
        if (!duel.startsGame()) {
            out.why = std::string("no game started: ") + duel.status();
            return out;
        }
        GameStart start = currentStart(seed + out.games);
        duel.begin(start);
        World world;
        startWorld(world, setup, start);
        // The pace of the game's timer: passes start on 50 ms ticks, a late one at the next.
        const auto t0 = Clock::now();
        auto due = t0, lastStep = t0;
        uint32_t pass = 0;
        while (!duel.broken() && out.passes < passes) {
            PassInput input;
            const auto asked = Clock::now();
            bool waited = false;
            while (!duel.gather(pass, false, input) && !duel.broken()) {
                waited = true;
                if (Clock::now() - asked > std::chrono::seconds(10)) {
                    out.why = "stuck at pass " + std::to_string(pass) + " of game " +
                              std::to_string(out.games + 1) + ": " + duel.status();
                    return out;
                }
                nap();
            }
            if (duel.broken())
                break;
            if (waited) {
                ++out.waitedPasses;
                out.waitedMs += std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
                if (getenv("NET_DUEL_DEBUG"))
                    std::fprintf(stderr, "%s game %u pass %u waited %.1f ms\n", hosting ? "host" : "join", out.games, pass,
                                 std::chrono::duration<double, std::milli>(Clock::now() - asked).count());
            }
            world.ticks = pass;
            Cues cues;
            if (input.leave || !stepWorld(world, input, cues))
                break;
            duel.stepped(pass, input, world);
            lastStep = Clock::now();
            ++pass;
            ++out.passes;
            const auto late = (Clock::now() - t0) / PASS;
            due = t0 + (late + 1) * PASS;
            std::this_thread::sleep_until(due);
        }
        // Pass N steps in tick N of the game's pace unless something held it up.
        if (pass > 0)
            out.lostTicks += uint32_t((lastStep - t0) / PASS) - (pass - 1);
        GameResult result;
        world.ticks = pass;
        result.decided = world.gameOver;
        result.steps = pass;
        result.state = hashWorld(world);
        ++out.games;
        char line[64];
        std::snprintf(line, sizeof line, "%u:%016llx ", pass, (unsigned long long)result.state.whole());
        out.hashes += line;
        duel.ended(result);
        if (duel.broken()) {
            out.why = duel.brokenWhy();
            return out;
        }
        duel.afterGame(result);
    }
    // Let the other side finish its last game before leaving.
    const auto linger = Clock::now() + std::chrono::milliseconds(500);
    while (Clock::now() < linger) {
        duel.poll();
        nap();
    }
    duel.quitting();
    return out;
}

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

pid_t children[2];
bool childrenDone()
{
    for (pid_t& child : children)
        if (child > 0 && waitpid(child, nullptr, WNOHANG) == child)
            child = 0; // the exit status travels in the pipe
    return children[0] == 0 && children[1] == 0;
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = 180;
    ProxyFaults faults;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        const double value = std::atof(argv[i + 1]);
        if (arg == "--seconds") seconds = value;
        else if (arg == "--delay") faults.delayMs = int(value);
        else if (arg == "--jitter") faults.jitterMs = int(value);
        else if (arg == "--loss") faults.loss = value;
        else if (arg == "--seed") faults.seed = uint32_t(value);
        else { std::fprintf(stderr, "net_duel: unknown option %s\n", arg.c_str()); return 2; }
    }
    const uint32_t passes = uint32_t(seconds * 20);
    const uint16_t hostPort = freePort(), proxyPort = freePort();
    int pipes[2][2];
    for (int s = 0; s < 2; ++s) {
        if (pipe(pipes[s]) != 0)
            return 2;
        children[s] = fork();
        if (children[s] == 0) {
            close(pipes[s][0]);
            const SideResult r = side(s == 0, s == 0 ? hostPort : proxyPort, passes, faults.seed);
            char text[16384];
            const int n = std::snprintf(text, sizeof text, "%u %u %u %u %.1f|%s|%s", r.passes, r.lostTicks,
                                        r.waitedPasses, r.games, r.waitedMs, r.why.c_str(), r.hashes.c_str());
            if (write(pipes[s][1], text, size_t(n)) != n)
                _exit(3);
            _exit(0);
        }
        close(pipes[s][1]);
    }
    const auto started = Clock::now();
    const ProxyCount count = runProxy(proxyPort, hostPort, faults, childrenDone);
    const double wall = std::chrono::duration<double>(Clock::now() - started).count();

    SideResult r[2];
    for (int s = 0; s < 2; ++s) {
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = read(pipes[s][0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, size_t(n));
        const size_t bar = text.find('|'), bar2 = text.find('|', bar == std::string::npos ? 0 : bar + 1);
        if (bar2 == std::string::npos) {
            r[s].why = "the side died";
            continue;
        }
        std::sscanf(text.c_str(), "%u %u %u %u %lf", &r[s].passes, &r[s].lostTicks, &r[s].waitedPasses,
                    &r[s].games, &r[s].waitedMs);
        r[s].why = text.substr(bar + 1, bar2 - bar - 1);
        r[s].hashes = text.substr(bar2 + 1);
    }
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
