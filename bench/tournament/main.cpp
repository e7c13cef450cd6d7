// Headless games of the computer against a rider that presses nothing, against one that
// presses random keys, and against itself, the computer riding each rider in turn. The games
// run through the same feed as --computer and --demo.
// Usage: tournament [GAMES] [FIRST_SEED] [idle|random|computer|all]
#include <allegro.h>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/game.h"
#include "simulation/feed.h"
#include "computer/computer.h"
#include "simulation/headless.h"

namespace {

const uint32_t LIMIT = 12000; // ten minutes of play

// The other rider: nothing pressed, or random keys held for 50 to 1500 ms each from a
// generator of its own. Notes the pass at which the game was decided.
class Opponent : public PassFeed {
public:
    Opponent(uint32_t seed, int index, bool presses)
        : seed(seed), index(index), presses(presses), random(seed * 7919u + 13u) {}
    void begin(GameStart& start) override
    {
        start = GameStart();
        start.seed = seed;
    }
    bool gather(uint32_t, bool, PassInput& input) override
    {
        if (presses && holdFor-- == 0) {
            holdFor = std::uniform_int_distribution<int>(0, 29)(random);
            const int pick = std::uniform_int_distribution<int>(0, 3)(random);
            keys = {pick == 0, pick == 1, pick == 2};
        }
        input.riders[index] = keys;
        return true;
    }
    void stepped(uint32_t pass, const PassInput&, const World& world) override
    {
        if (world.gameOver && !decidedAt)
            decidedAt = pass + 1;
    }
    uint32_t decidedAt = 0;

private:
    uint32_t seed;
    int index;
    bool presses;
    std::mt19937 random;
    int holdFor = 0;
    RiderInput keys;
};

static double cpuMicros()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

// Times the computer's decisions, which are all a feed's gather does besides the opponent's,
// in processor time: the machine may be busy with other things.
class Stopwatch : public PassFeed {
public:
    explicit Stopwatch(PassFeed& inner) : inner(inner) {}
    void begin(GameStart& start) override { inner.begin(start); }
    bool gather(uint32_t pass, bool escape, PassInput& input) override
    {
        const double before = cpuMicros();
        const bool ready = inner.gather(pass, escape, input);
        spent += cpuMicros() - before;
        ++passes;
        return ready;
    }
    void started(const World& world) override { inner.started(world); }
    void stepped(uint32_t pass, const PassInput& input, const World& world) override
    {
        inner.stepped(pass, input, world);
    }
    double spent = 0.0;
    long passes = 0;

private:
    PassFeed& inner;
};

int series(const std::string& opponent, int games, uint32_t firstSeed)
{
    int won = 0, undecided = 0;
    std::vector<uint32_t> lengths;
    double micros = 0.0;
    long decisions = 0;
    for (int g = 0; g < games; ++g) {
        const int index = g % 2;
        const bool both = opponent == "computer";
        const bool rides[2] = {index == 0 || both, index == 1 || both};
        Opponent other(firstSeed + g, 1 - index, opponent == "random");
        std::unique_ptr<PassFeed> computer(computerFeed(other, rides));
        Stopwatch watch(*computer);
        const GameResult result = playHeadless(defaultGameSetup(), watch, LIMIT + 200);
        micros += watch.spent;
        decisions += watch.passes * (both ? 2 : 1);
        const bool decided = other.decidedAt > 0 && other.decidedAt <= LIMIT;
        if (!decided)
            ++undecided;
        else
            lengths.push_back(other.decidedAt);
        if (decided && result.winner == index)
            ++won;
        if (std::getenv("TOURNAMENT_VERBOSE"))
            std::printf("  seed %u computer %d: %s winner %d at pass %u\n", firstSeed + g, index,
                        decided ? "decided" : "UNDECIDED", result.winner, other.decidedAt);
    }
    std::sort(lengths.begin(), lengths.end());
    const uint32_t median = lengths.empty() ? 0 : lengths[lengths.size() / 2];
    const uint32_t longest = lengths.empty() ? 0 : lengths.back();
    if (opponent == "computer")
        std::printf("computer vs computer: %d of %d games won within %u passes; "
                    "median %u passes, longest %u",
                    games - undecided, games, LIMIT, median, longest);
    else
        std::printf("computer vs %s: won %d of %d; median %u passes, longest %u",
                    opponent.c_str(), won, games, median, longest);
    std::printf(" (%.1f us a decision)\n", micros / decisions);
    std::fflush(stdout);
    return opponent == "computer" ? undecided : games - won;
}

}  // namespace

int main(int argc, char** argv)
{
    const int games = argc > 1 ? std::atoi(argv[1]) : 200;
    const uint32_t firstSeed = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 1;
    const std::string which = argc > 3 ? argv[3] : "all";
    KindGeometry geometry;
    geometry.bridgeHeight = 120; // the bridge the game's own art has
    if (!startHeadless(geometry)) {
        std::fprintf(stderr, "tournament: the rules cannot start\n");
        return 2;
    }
    int lost = 0;
    for (const char* opponent : {"idle", "random", "computer"})
        if (which == "all" || which == opponent)
            lost += series(opponent, games, firstSeed);
    return lost == 0 ? 0 : 1;
}
END_OF_MAIN()
