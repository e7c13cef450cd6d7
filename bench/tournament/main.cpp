// Headless games of the computer against a rider that presses nothing, against one that
// presses random keys, and against itself, with the computer riding each rider in turn.
// Usage: tournament [GAMES] [FIRST_SEED] [idle|random|computer|all]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/clock.h"
#include "app/game.h"
#include "computer/computer.h"
#include "obstacles/lanes.h"
#include "riders/rider.h"
#include "simulation/headless.h"
#include "simulation/simulation.h"

namespace {

const uint32_t LIMIT = 12000; // ten minutes of play
std::chrono::steady_clock::duration thinking{};
long decisions = 0;

// Random keys, held for 50 to 1500 ms each, from a generator of its own.
class RandomPresser {
public:
    explicit RandomPresser(uint32_t seed) : random(seed) {}
    RiderInput decide()
    {
        if (left == 0) {
            left = std::uniform_int_distribution<int>(1, 30)(random);
            const int pick = std::uniform_int_distribution<int>(0, 3)(random);
            keys = RiderInput();
            keys.left = pick == 0;
            keys.right = pick == 1;
            keys.action = pick == 2;
        }
        --left;
        return keys;
    }

private:
    std::mt19937 random;
    int left = 0;
    RiderInput keys;
};

struct Outcome {
    bool decided = false;
    uint8_t winner = 0;
    uint32_t decidedAt = 0;
    int health[2] = {0, 0};
};

Outcome play(uint32_t seed, int computerIndex, const std::string& opponent)
{
    GameStart start;
    start.seed = seed;
    beginGame(defaultGameSetup(), start);
    ObstacleLanes lanes;
    ComputerRider computer(computerIndex);
    ComputerRider other(1 - computerIndex);
    RandomPresser presser(seed * 7919u + 13u);
    Outcome outcome;
    for (uint32_t pass = 0;; ++pass) {
        ticks = pass;
        PassInput input;
        const auto before = std::chrono::steady_clock::now();
        input.riders[computerIndex] = computer.decide(lanes);
        thinking += std::chrono::steady_clock::now() - before;
        ++decisions;
        if (opponent == "random")
            input.riders[1 - computerIndex] = presser.decide();
        else if (opponent == "computer")
            input.riders[1 - computerIndex] = other.decide(lanes);
        const bool wasOver = gameOver;
        if (!stepPass(lanes, input, false))
            break;
        if (gameOver && !wasOver)
            outcome.decidedAt = pass + 1;
        if (!gameOver && pass + 1 >= LIMIT)
            break;
    }
    outcome.decided = gameOver;
    outcome.winner = winner;
    for (int i = 0; i < 2; ++i)
        outcome.health[i] = riders[i]->health;
    return outcome;
}

int series(const std::string& opponent, int games, uint32_t firstSeed)
{
    int won = 0, undecided = 0;
    std::vector<uint32_t> lengths;
    for (int g = 0; g < games; ++g) {
        const int index = g % 2;
        const Outcome o = play(firstSeed + g, index, opponent);
        if (!o.decided)
            ++undecided;
        else {
            lengths.push_back(o.decidedAt);
            if (o.winner == index)
                ++won;
        }
        if (std::getenv("TOURNAMENT_VERBOSE"))
            std::printf("  seed %u computer %d: %s winner %d at %u, health %d / %d\n",
                        firstSeed + g, index, o.decided ? "decided" : "UNDECIDED", o.winner,
                        o.decidedAt, o.health[0], o.health[1]);
    }
    std::sort(lengths.begin(), lengths.end());
    const uint32_t median = lengths.empty() ? 0 : lengths[lengths.size() / 2];
    const uint32_t longest = lengths.empty() ? 0 : lengths.back();
    if (opponent == "computer")
        std::printf("computer vs computer: %d of %d games decided within %u passes; median %u "
                    "passes, longest %u\n",
                    games - undecided, games, LIMIT, median, longest);
    else
        std::printf("computer vs %s: won %d of %d (%d undecided); median %u passes, longest %u\n",
                    opponent.c_str(), won, games, undecided, median, longest);
    std::printf("  %.1f us per decision on average\n",
                std::chrono::duration<double, std::micro>(thinking).count() / decisions);
    thinking = {};
    decisions = 0;
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
    geometry.bridgeHeight = 120;
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
