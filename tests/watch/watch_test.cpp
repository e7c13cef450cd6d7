// Spectators change nothing for the riders: two seeded online games between a host and a
// joiner on this machine's loopback, played once alone and once watched by four spectators
// (a fifth is turned away). One spectator follows both games to their ends, one freezes in
// the middle of the first (as a killed game does: not another word), two only stay in the
// menu. The riders' results and stalls must be the same both times, and the spectator that
// watched must see exactly the games they played, a few passes behind. Another version of
// the game is turned away as a spectator.
// Headless, one thread, every side a pass each 10 ms, bounded in time.
// Usage: watch_test; exit status 0 when all holds.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <allegro.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "classic/game.h"
#include "network/duel.h"
#include "network/watch.h"
#include "simulation/feed.h"
#include "classic/headless.h"

namespace {

using Clock = std::chrono::steady_clock;
const auto PASS = std::chrono::milliseconds(10);
const int GAMES = 2;
const uint32_t FREEZE_AT = 120; // the host's pass of the first game when one spectator freezes

std::mt19937 bertoKeys;
uint32_t bertoLeft = 0;
RiderInput bertoHolds;
// Rudko rides into his bank, so each game ends in a few hundred passes; Berto holds random keys.
RiderInput rudko() { return RiderInput{true, false, false}; }
RiderInput berto()
{
    if (bertoLeft == 0) {
        const unsigned r = bertoKeys();
        bertoHolds = {(r & 3) == 1, (r & 3) == 2, (r & 12) == 4};
        bertoLeft = 5 + bertoKeys() % 26;
    }
    --bertoLeft;
    return bertoHolds;
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

std::string line(const GameResult& r)
{
    char text[96];
    std::snprintf(text, sizeof text, "decided %d winner %d steps %u state %016llx", r.decided, r.winner,
                  r.steps, (unsigned long long)r.state.whole());
    return text;
}

// A game being played on one side, a pass at a time.
struct Play {
    World world;
    Stage nowhere;
    std::unique_ptr<GameRun> run;
    std::vector<GameResult> results;
    uint32_t waited = 0; // passes that had to wait for their inputs
    bool waiting = false;

    // One pass; true when the game just ended.
    bool step()
    {
        const GameRun::Turn turn = run->next();
        if (turn == GameRun::WAITING) {
            waited += !waiting;
            waiting = true;
            return false;
        }
        waiting = false;
        if (turn != GameRun::OVER)
            return false;
        results.push_back(run->result());
        run.reset();
        return true;
    }
};

struct Outcome {
    std::vector<GameResult> host, joiner, watched;
    uint32_t hostWaited = 0, joinerWaited = 0;
    uint32_t leastLag = UINT32_MAX, mostLag = 0; // the host's pass less the watched one's
    size_t watchingAtEnd = 0;
    double bytesPerSpectatorSecond = 0; // of messages, while the riders played
    std::string why;
};

Outcome play(bool watched, uint32_t seed)
{
    Outcome out;
    bertoKeys.seed(seed);
    bertoLeft = 0;
    const uint16_t port = freePort();
    Duel host(true, "127.0.0.1", port, rudko), joiner(false, "127.0.0.1", port, berto);
    Spectators stands;
    if (!host.open()) {
        out.why = std::string("the host did not open: ") + host.status();
        return out;
    }
    host.welcome(&stands);
    host.watchedBy(&stands);
    joiner.open();
    std::vector<std::unique_ptr<Watching>> spectators;
    if (watched) {
        // Another version is turned away first, naming both.
        Watching stranger("127.0.0.1", port, Connection::Identity{Connection::ours().protocol, "riverduel 0.0.1"});
        stranger.open();
        const auto until = Clock::now() + std::chrono::seconds(5);
        while (std::string(stranger.status()).find("refused") != 0 && Clock::now() < until) {
            host.poll();
            stranger.poll();
            std::this_thread::sleep_for(PASS);
        }
        const std::string refusal = "refused: riverduel 0.0.1 (protocol " +
                                    std::to_string(Connection::ours().protocol) + ") met " +
                                    Connection::ours().build;
        if (std::string(stranger.status()).find(refusal) != 0) {
            out.why = std::string("another version was not turned away: ") + stranger.status();
            return out;
        }
        for (size_t i = 0; i < Connection::MAX_GUESTS; ++i) {
            spectators.push_back(std::make_unique<Watching>("127.0.0.1", port));
            spectators.back()->open();
        }
    }
    Play hostPlay, joinerPlay, watchPlay;
    int started = 0;
    bool frozen = false;
    const auto deadline = Clock::now() + std::chrono::seconds(90);
    auto next = Clock::now();
    while (int(out.watched.size()) < (watched ? GAMES : 0) || int(hostPlay.results.size()) < GAMES ||
           int(joinerPlay.results.size()) < GAMES) {
        if (Clock::now() > deadline) {
            out.why = std::string("out of time; host: ") + host.status() + "; joiner: " + joiner.status() +
                      "; games " + std::to_string(hostPlay.results.size()) + "/" +
                      std::to_string(joinerPlay.results.size()) + "/" + std::to_string(out.watched.size()) +
                      (hostPlay.run ? " host playing" : "") + (joinerPlay.run ? " joiner playing" : "") +
                      (watchPlay.run ? " spectator playing pass " + std::to_string(watchPlay.run->pass()) : "");
            return out;
        }
        std::this_thread::sleep_until(next);
        next += PASS;
        // A machine that starved this loop slows the passes down rather than bursting them:
        // the spectator's acknowledgements are paced by the clock, and a burst of passes
        // would outrun them.
        if (Clock::now() > next + 3 * PASS)
            next = Clock::now();
        // The riders: a game on both sides once the joiner clicked, after every spectator
        // that will ever be let in has been.
        size_t greeted = 0;
        for (const auto& spectator : spectators)
            greeted += spectator->greeted();
        if (watched && greeted == Connection::MAX_GUESTS && spectators.size() == greeted) {
            spectators.push_back(std::make_unique<Watching>("127.0.0.1", port)); // one too many
            spectators.back()->open();
        }
        const bool seated = !watched || (greeted == Connection::MAX_GUESTS &&
                                         std::string(spectators.back()->status()).find("refused") == 0);
        if (!hostPlay.run) {
            host.poll();
            if (started < GAMES && host.startsGame()) {
                GameStart start = currentStart(seed + uint32_t(started));
                host.begin(start);
                startWorld(hostPlay.world, defaultGameSetup(), start);
                hostPlay.run = std::make_unique<GameRun>(hostPlay.world, host, hostPlay.nowhere);
                ++started;
            }
        } else if (hostPlay.step()) {
            host.afterGame(hostPlay.results.back());
        }
        if (!joinerPlay.run) {
            joiner.poll();
            if (joiner.connected() && seated && int(joinerPlay.results.size()) < GAMES &&
                joinerPlay.results.size() == hostPlay.results.size())
                joiner.clicked();
            if (joiner.startsGame()) {
                GameStart start;
                joiner.begin(start);
                startWorld(joinerPlay.world, defaultGameSetup(), start);
                joinerPlay.run = std::make_unique<GameRun>(joinerPlay.world, joiner, joinerPlay.nowhere);
            }
        } else if (joinerPlay.step()) {
            joiner.afterGame(joinerPlay.results.back());
        }
        if (!watched)
            continue;
        if (!seated) {
            for (const auto& spectator : spectators)
                spectator->poll();
            continue;
        }
        // The spectators: the first watches, the second freezes midway, the rest wait.
        if (!frozen && hostPlay.run && started == 1 && hostPlay.run->pass() >= FREEZE_AT)
            frozen = true;
        for (size_t i = 2; i < spectators.size(); ++i)
            spectators[i]->poll();
        if (!frozen)
            spectators[1]->poll();
        Watching& seer = *spectators[0];
        if (!watchPlay.run) {
            seer.poll();
            if (seer.startsGame()) {
                GameStart start;
                seer.begin(start);
                startWorld(watchPlay.world, defaultGameSetup(), start);
                watchPlay.run = std::make_unique<GameRun>(watchPlay.world, seer, watchPlay.nowhere);
            }
        } else {
            if (hostPlay.run && seer.game() == uint16_t(started - 1) &&
                hostPlay.run->pass() > 60) {
                const uint32_t lag = hostPlay.run->pass() - watchPlay.run->pass();
                out.leastLag = std::min(out.leastLag, lag);
                out.mostLag = std::max(out.mostLag, lag);
            }
            if (watchPlay.step()) {
                out.watched.push_back(watchPlay.results.back());
                seer.afterGame(watchPlay.results.back());
            }
        }
    }
    uint32_t passes = 0;
    for (const GameResult& r : hostPlay.results)
        passes += r.steps;
    // Four spectators followed the first game, three (one frozen) the second; passes at 20 a second.
    if (passes > 0)
        out.bytesPerSpectatorSecond = double(stands.sent()) / 3.5 / (passes / 20.0);
    out.host = hostPlay.results;
    out.joiner = joinerPlay.results;
    out.hostWaited = hostPlay.waited;
    out.joinerWaited = joinerPlay.waited;
    if (watched) {
        // The frozen one is let go once it has been silent long enough; the others stay.
        const auto linger = Clock::now() + std::chrono::seconds(6);
        while (Clock::now() < linger && stands.watching() > 3) {
            host.poll();
            joiner.poll();
            for (size_t i = 0; i < spectators.size(); ++i)
                if (i != 1)
                    spectators[i]->poll();
            std::this_thread::sleep_for(PASS);
        }
        out.watchingAtEnd = stands.watching();
        if (std::string(spectators[4]->status()).find("already has 4 spectators") == std::string::npos)
            out.why = std::string("a fifth spectator was not turned away: ") + spectators[4]->status();
    }
    host.quitting();
    joiner.quitting();
    return out;
}

} // namespace

int main()
{
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    if (!startHeadless(geometry)) {
        std::fprintf(stderr, "spectators: the rules did not start\n");
        return 2;
    }
    const uint32_t seed = 4242;
    const Outcome alone = play(false, seed);
    const Outcome seen = play(true, seed);
    bool ok = alone.why.empty() && seen.why.empty();
    if (!alone.why.empty())
        std::printf("FAIL: without spectators: %s\n", alone.why.c_str());
    if (!seen.why.empty())
        std::printf("FAIL: with spectators: %s\n", seen.why.c_str());
    for (int g = 0; ok && g < GAMES; ++g) {
        const std::string played = line(alone.host[size_t(g)]);
        std::printf("game %d: %s\n", g + 1, played.c_str());
        const std::string sides[] = {line(alone.joiner[size_t(g)]), line(seen.host[size_t(g)]),
                                     line(seen.joiner[size_t(g)]), line(seen.watched[size_t(g)])};
        const char* names[] = {"the joiner alone", "the host watched", "the joiner watched",
                               "the spectator"};
        for (int s = 0; s < 4; ++s)
            if (sides[s] != played) {
                std::printf("FAIL: game %d: %s saw '%s'\n", g + 1, names[s], sides[s].c_str());
                ok = false;
            }
        if (!alone.host[size_t(g)].decided) {
            std::printf("FAIL: game %d was not decided\n", g + 1);
            ok = false;
        }
    }
    std::printf("passes that waited for inputs: host %u, joiner %u alone; host %u, joiner %u watched\n",
                alone.hostWaited, alone.joinerWaited, seen.hostWaited, seen.joinerWaited);
    // On loopback neither side should wait; a busy machine may cost a pass now and then.
    if (seen.hostWaited > alone.hostWaited + 2 || seen.joinerWaited > alone.joinerWaited + 2) {
        std::printf("FAIL: the spectators made the riders wait\n");
        ok = false;
    }
    std::printf("the spectator was %u to %u passes behind the host\n", seen.leastLag, seen.mostLag);
    if (seen.why.empty() && (seen.leastLag < Watching::LEAD / 2 || seen.mostLag > 3 * Watching::LEAD)) {
        std::printf("FAIL: the spectator did not follow a second or two behind\n");
        ok = false;
    }
    std::printf("host to each spectator: about %.0f bytes/s of messages at 20 passes a second\n",
                seen.bytesPerSpectatorSecond);
    std::printf("spectators still watching at the end: %zu of 4 let in (one froze)\n", seen.watchingAtEnd);
    if (seen.why.empty() && seen.watchingAtEnd != 3) {
        std::printf("FAIL: the frozen spectator was not let go, or another was\n");
        ok = false;
    }
    std::printf("%s\n", ok ? "ok: spectators change nothing for the riders" : "FAIL");
    return ok ? 0 : 1;
}
END_OF_MAIN()
