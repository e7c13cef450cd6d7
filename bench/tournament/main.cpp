// Headless games between the computer's levels, the computer as it was before levels, and
// scripted riders, each pairing with the sides swapped game by game. The games run through
// the same loop as every game (playAlone), as fast as they go, in two threads at once.
//
// Usage:
//   tournament [GAMES] [FIRST_SEED] [idle|random|computer|all]  the computer (level 5) against
//       a rider that presses nothing, one that presses random keys, and itself; fails when it
//       loses a game or leaves one with itself undecided
//   tournament GAMES FIRST_SEED robin [PLAYER,PLAYER,...]  a round robin rated with Elo
//   tournament GAMES FIRST_SEED match A B                  one pairing, by side
//   tournament GAMES FIRST_SEED tricks [LEVEL|PLAYER]      the level (5) against one-trick riders
//   tournament 1 SEED mirror [LEVEL]   (6, the flawless computer, without one) where the computer riding Rudko and one riding Berto in the
//       mirror image of the game press other than mirror images of each other
// Players: level1 ... level5, classic, dodger, diver, chaser, fleer, hopper, careful, stay-dived,
// bank-hugger, endless-hop, only-chase, ducker, idle, random, and the one-trick riders of
// tricks.cpp (sunk, bank-sunk, lurker, pogo, near-hop, pursuer, glutton, masher). TOURNAMENT_JOBS sets the threads (2).
#include <allegro.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <sstream>
#include <string>
#include <mutex>
#include <thread>
#include <vector>

#include "classic/session.h"
#include "classic/game.h"
#include "app/game.h"
#include "players.h"
#include "simulation/feed.h"
#include "classic/headless.h"
#include "simulation/world.h"

namespace {

const uint32_t LIMIT = 12000; // ten minutes of play; a game left undecided is a draw
double sideStats[2][4]; // banks, stomps and bumps, obstacles, mass at the end

// A decision that took over 1 ms, to be timed again by playing its game again (the games are
// the same every time): on a shared machine a thread's processor time now and then takes in
// what is not its own.
struct Slow {
    std::string rudko, berto;
    uint32_t seed, pass;
    int rider;
    double spent;
};
bool collectSlow = false; // while the pairings are played
std::mutex tallying;      // the slow decisions, the statistics and the tallies, from the threads
std::vector<Slow> slows;

double cpuMicros()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

bool isComputer(const std::string& name)
{
    return name.compare(0, 5, "level") == 0 || name == "classic";
}

// Two players on one game; notes when it was decided and what each decision cost.
class Duel : public PassFeed {
public:
    Duel(const std::string names[2], uint32_t seed) : seed(seed), names{names[0], names[1]}
    {
        for (int i = 0; i < 2; ++i) {
            players[i] = makePlayer(names[i], i, seed);
            timed[i] = isComputer(names[i]);
        }
    }
    void begin(GameStart& start) override
    {
        start = GameStart();
        start.seed = seed;
    }
    void started(const World& world) override { seen = &world; }
    bool gather(uint32_t pass, bool, PassInput& input) override
    {
        for (int i = 0; i < 2; ++i) {
            const double before = timed[i] ? cpuMicros() : 0.0;
            input.riders[i] = players[i]->decide(*seen);
            if (timed[i]) {
                const double spent = cpuMicros() - before;
                micros += spent;
                longest = std::max(longest, spent);
                ++decisions;
                over200 += spent > 200.0;
                over1000 += spent > 1000.0;
                if (spent > 1000.0 && collectSlow) {
                    std::lock_guard<std::mutex> hold(tallying);
                    slows.push_back({names[0], names[1], seed, pass, i, spent});
                }
                if (static_cast<int>(pass) == watchPass && i == watchRider)
                    watched = spent;
            }
        }
        return true;
    }
    void stepped(uint32_t pass, const PassInput& input, const World& world) override
    {
        // TOURNAMENT_TRACE=I: every hurt of rider I, with what was near it.
        static const char* trace = std::getenv("TOURNAMENT_TRACE");
        if (trace) {
            const int i = std::atoi(trace);
            const RiderState& r = world.riders[i];
            if (r.health < health[i]) {
                std::fprintf(stderr, "pass %u rider %d lost %d: x %.0f v %.1f state %d h %.0f keys %d%d%d other x %.0f h %.0f |", pass, i,
                             health[i] - r.health, r.x, r.velocity, r.state, r.height, input.riders[i].left,
                             input.riders[i].right, input.riders[i].action, world.riders[1 - i].x, world.riders[1 - i].height);
                for (int k = 0; k < 4; ++k)
                    for (const ObstacleState& o : world.lanes[k])
                        if (o.y > 300 && o.y < 600)
                            std::fprintf(stderr, " k%d x%.0f-%.0f y%.0f", k, o.x, o.x + o.width, o.y);
                std::fprintf(stderr, "\n");
            }
            for (int j = 0; j < 2; ++j)
                health[j] = world.riders[j].health;
        }
        // TOURNAMENT_STATS: what each side lost its health to, summed over the games.
        static const bool stats = std::getenv("TOURNAMENT_STATS") != nullptr;
        std::unique_lock<std::mutex> hold(tallying, std::defer_lock);
        if (stats)
            hold.lock();
        if (stats)
            for (int j = 0; j < 2; ++j) {
                const RiderState& r = world.riders[j];
                const int lost = last[j] - r.health;
                if (lost > 0) {
                    const bool bank = r.x == 125.0f || r.x == 675.0f;
                    const bool stomp = !bank && lost == 5 && std::fabs(r.velocity) == 20.0f;
                    sideStats[j][bank ? 0 : stomp ? 1 : 2] += lost;
                }
                last[j] = r.health;
                if (world.gameOver && !decidedAt)
                    sideStats[j][3] += r.mass;
            }
        if (world.gameOver && !decidedAt)
            decidedAt = pass + 1;
    }
    uint32_t decidedAt = 0;
    int health[2] = {200, 200};
    int last[2] = {200, 200};
    double micros = 0.0, longest = 0.0;
    long decisions = 0, over200 = 0, over1000 = 0;
    int watchPass = -1, watchRider = 0;
    double watched = 0.0;

private:
    uint32_t seed;
    std::string names[2];
    std::unique_ptr<Player> players[2];
    bool timed[2];
    const World* seen = nullptr;
};

// One game: 0 or 1 the winner's index, -1 undecided.
struct Game {
    int winner = -1;
    uint32_t passes = 0;
    int health = 0; // the winner's health left
    double micros = 0.0, longest = 0.0;
    long decisions = 0, over200 = 0, over1000 = 0;
};

Game play(const std::string& rudko, const std::string& berto, uint32_t seed)
{
    const std::string names[2] = {rudko, berto};
    Duel duel(names, seed);
    GameSetup setup = defaultGameSetup();
    World* last = nullptr;
    (void)last;
    const GameResult result = playAlone(setup, GameStart(), duel, LIMIT + 1);
    Game game;
    game.passes = duel.decidedAt ? duel.decidedAt : LIMIT;
    if (duel.decidedAt > 0 && duel.decidedAt <= LIMIT)
        game.winner = result.winner;
    game.micros = duel.micros;
    game.longest = duel.longest;
    game.decisions = duel.decisions;
    game.over200 = duel.over200;
    game.over1000 = duel.over1000;
    return game;
}

// A pairing's games: A rides Rudko in even games, Berto in odd ones.
struct Tally {
    std::string a, b;
    int games = 0, aWins = 0, bWins = 0, draws = 0;
    int aWinsAsRudko = 0, aGamesAsRudko = 0, rudkoWins = 0;
    long passes = 0;
    double micros = 0.0, longest = 0.0;
    long decisions = 0, over200 = 0, over1000 = 0;
};

// Games `from` up to `to` of a pairing.
Tally pairing(const std::string& a, const std::string& b, int from, int to, uint32_t firstSeed)
{
    Tally t;
    t.a = a, t.b = b, t.games = to - from;
    for (int g = from; g < to; ++g) {
        const bool aRudko = g % 2 == 0;
        // Each seed is played from both sides.
        const uint32_t seed = firstSeed + static_cast<uint32_t>(g / 2);
        const Game game = aRudko ? play(a, b, seed) : play(b, a, seed);
        t.passes += game.passes;
        t.micros += game.micros;
        t.longest = std::max(t.longest, game.longest);
        t.decisions += game.decisions;
        t.over200 += game.over200;
        t.over1000 += game.over1000;
        t.aGamesAsRudko += aRudko;
        if (game.winner < 0) {
            ++t.draws;
            continue;
        }
        t.rudkoWins += game.winner == 0;
        const bool aWon = (game.winner == 0) == aRudko;
        (aWon ? t.aWins : t.bWins)++;
        if (aWon && aRudko)
            ++t.aWinsAsRudko;
        if (std::getenv("TOURNAMENT_VERBOSE"))
            std::fprintf(stderr, "  %s vs %s seed %u: %s won at pass %u\n", aRudko ? a.c_str() : b.c_str(),
                         aRudko ? b.c_str() : a.c_str(), seed, game.winner == 0 ? "Rudko" : "Berto",
                         game.passes);
    }
    if (std::getenv("TOURNAMENT_STATS"))
        for (int j = 0; j < 2; ++j)
            std::fprintf(stderr, "  %s: health lost to banks %.0f, to the other rider %.0f, to obstacles %.0f; mass at the end %.1f\n",
                         j ? "Berto" : "Rudko", sideStats[j][0], sideStats[j][1], sideStats[j][2],
                         sideStats[j][3] / t.games);
    return t;
}

void add(Tally& into, const Tally& t)
{
    into.a = t.a, into.b = t.b;
    into.games += t.games, into.aWins += t.aWins, into.bWins += t.bWins, into.draws += t.draws;
    into.aWinsAsRudko += t.aWinsAsRudko, into.aGamesAsRudko += t.aGamesAsRudko;
    into.rudkoWins += t.rudkoWins, into.passes += t.passes, into.micros += t.micros;
    into.longest = std::max(into.longest, t.longest), into.decisions += t.decisions;
    into.over200 += t.over200, into.over1000 += t.over1000;
}

// The pairings played by `jobs` threads at once, each pairing in as many pieces (of whole
// pairs of games on one seed).
std::vector<Tally> playAll(const std::vector<std::pair<std::string, std::string>>& pairs, int games,
                           uint32_t firstSeed)
{
    const char* env = std::getenv("TOURNAMENT_JOBS");
    const int jobs = std::max(1, env ? std::atoi(env) : 2);
    struct Piece {
        size_t pair;
        int from, to;
    };
    std::vector<Piece> pieces;
    for (size_t p = 0; p < pairs.size(); ++p)
        for (int j = 0; j < jobs; ++j) {
            const int from = (games / 2 * j / jobs) * 2, to = j + 1 == jobs ? games : (games / 2 * (j + 1) / jobs) * 2;
            if (to > from)
                pieces.push_back({p, from, to});
        }
    std::vector<Tally> tallies(pairs.size());
    std::vector<std::thread> workers;
    collectSlow = true;
    for (int j = 0; j < jobs; ++j)
        workers.emplace_back([&, j] {
            for (size_t k = j; k < pieces.size(); k += jobs) {
                const Piece& piece = pieces[k];
                const Tally t = pairing(pairs[piece.pair].first, pairs[piece.pair].second, piece.from, piece.to,
                                        firstSeed);
                std::lock_guard<std::mutex> hold(tallying);
                add(tallies[piece.pair], t);
            }
        });
    for (std::thread& worker : workers)
        worker.join();
    collectSlow = false;
    return tallies;
}

// Elo by maximum likelihood over all games (a draw half a win), with a draw added to every
// pairing so that a clean sweep stays finite; 95% error bars from the likelihood's curvature,
// the ratings centred on their mean.
void rate(const std::vector<std::string>& names, const std::vector<Tally>& tallies,
          std::vector<double>& elo, std::vector<double>& error)
{
    const int n = static_cast<int>(names.size());
    auto at = [&](const std::string& name) {
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    std::vector<std::vector<double>> won(n, std::vector<double>(n, 0.0)), games = won;
    for (const Tally& t : tallies) {
        const int a = at(t.a), b = at(t.b);
        won[a][b] += t.aWins + 0.5 * t.draws + 0.5;
        won[b][a] += t.bWins + 0.5 * t.draws + 0.5;
        games[a][b] += t.games + 1;
        games[b][a] += t.games + 1;
    }
    const double k = std::log(10.0) / 400.0;
    std::vector<double> r(n, 0.0);
    std::vector<std::vector<double>> h;
    // Newton's method with player 0 held at 0.
    for (int round = 0; round < 100; ++round) {
        const int m = n - 1;
        std::vector<double> g(m, 0.0);
        h.assign(m, std::vector<double>(m, 0.0));
        for (int i = 1; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                if (i == j || games[i][j] == 0)
                    continue;
                const double p = 1.0 / (1.0 + std::exp(-k * (r[i] - r[j])));
                g[i - 1] += k * (won[i][j] - games[i][j] * p);
                const double w = k * k * games[i][j] * p * (1 - p);
                h[i - 1][i - 1] += w;
                if (j > 0)
                    h[i - 1][j - 1] -= w;
            }
        // Solve h d = g (h is the information: positive definite).
        std::vector<std::vector<double>> a = h;
        std::vector<double> d = g;
        for (int c = 0; c < m; ++c)
            for (int row = c + 1; row < m; ++row) {
                const double f = a[row][c] / a[c][c];
                for (int col = c; col < m; ++col)
                    a[row][col] -= f * a[c][col];
                d[row] -= f * d[c];
            }
        for (int c = m - 1; c >= 0; --c) {
            for (int col = c + 1; col < m; ++col)
                d[c] -= a[c][col] * d[col];
            d[c] /= a[c][c];
        }
        double step = 0.0;
        for (int i = 1; i < n; ++i) {
            r[i] += d[i - 1];
            step = std::max(step, std::fabs(d[i - 1]));
        }
        if (step < 1e-6)
            break;
    }
    // The covariance: the information's inverse, then centred on the mean.
    const int m = n - 1;
    std::vector<std::vector<double>> inv(m, std::vector<double>(m, 0.0)), a = h;
    for (int i = 0; i < m; ++i)
        inv[i][i] = 1.0;
    for (int c = 0; c < m; ++c) {
        const double pivot = a[c][c];
        for (int col = 0; col < m; ++col)
            a[c][col] /= pivot, inv[c][col] /= pivot;
        for (int row = 0; row < m; ++row)
            if (row != c) {
                const double f = a[row][c];
                for (int col = 0; col < m; ++col)
                    a[row][col] -= f * a[c][col], inv[row][col] -= f * inv[c][col];
            }
    }
    std::vector<std::vector<double>> cov(n, std::vector<double>(n, 0.0));
    for (int i = 1; i < n; ++i)
        for (int j = 1; j < n; ++j)
            cov[i][j] = inv[i - 1][j - 1];
    double mean = 0.0;
    for (double v : r)
        mean += v / n;
    std::vector<double> rowMean(n, 0.0);
    double all = 0.0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            rowMean[i] += cov[i][j] / n, all += cov[i][j] / (n * n);
    elo.assign(n, 0.0);
    error.assign(n, 0.0);
    for (int i = 0; i < n; ++i) {
        elo[i] = r[i] - mean;
        error[i] = 1.96 * std::sqrt(std::max(0.0, cov[i][i] - 2 * rowMean[i] + all));
    }
}

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        out.push_back(part);
    return out;
}

void cost(const std::vector<Tally>& tallies)
{
    double micros = 0.0, longest = 0.0;
    long decisions = 0, over200 = 0, over1000 = 0;
    for (const Tally& t : tallies) {
        micros += t.micros, longest = std::max(longest, t.longest), decisions += t.decisions;
        over200 += t.over200, over1000 += t.over1000;
    }
    std::printf("computer decisions: %ld, mean %.1f us, longest %.0f us, %ld over 200 us, %ld over 1 ms "
                "(processor time)\n",
                decisions, decisions ? micros / decisions : 0.0, longest, over200, over1000);
    if (slows.empty())
        return;
    std::printf("the decisions over 1 ms timed again, the least of three plays of their games:");
    double worst = 0.0;
    for (const Slow& slow : slows) {
        double least = 1e9;
        for (int round = 0; round < 3; ++round) {
            const std::string names[2] = {slow.rudko, slow.berto};
            Duel duel(names, slow.seed);
            duel.watchPass = static_cast<int>(slow.pass);
            duel.watchRider = slow.rider;
            playAlone(defaultGameSetup(), GameStart(), duel, LIMIT + 1);
            least = std::min(least, duel.watched);
        }
        worst = std::max(worst, least);
        std::printf(" %.0f us (was %.0f)", least, slow.spent);
    }
    std::printf("; the longest of them %.0f us\n", worst);
}

int robin(const std::vector<std::string>& names, int games, uint32_t firstSeed)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (size_t i = 0; i < names.size(); ++i)
        for (size_t j = i + 1; j < names.size(); ++j)
            pairs.push_back({names[i], names[j]});
    const std::vector<Tally> tallies = playAll(pairs, games, firstSeed);
    std::vector<double> elo, error;
    rate(names, tallies, elo, error);
    std::vector<int> order(names.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return elo[a] > elo[b]; });
    std::printf("Round robin: %d games a pairing, sides swapped, seeds from %u\n\n", games, firstSeed);
    std::printf("| player | Elo (95%%) | won | drawn | lost | won as Rudko | won as Berto | what it is |\n"
                "|---|---|---|---|---|---|---|---|\n");
    for (int i : order) {
        int w = 0, d = 0, l = 0, rudkoGames = 0, rudkoWins = 0, bertoGames = 0, bertoWins = 0;
        for (const Tally& t : tallies) {
            if (t.a == names[i]) {
                w += t.aWins, d += t.draws, l += t.bWins;
                rudkoGames += t.aGamesAsRudko, rudkoWins += t.aWinsAsRudko;
                bertoGames += t.games - t.aGamesAsRudko, bertoWins += t.aWins - t.aWinsAsRudko;
            }
            if (t.b == names[i]) {
                w += t.bWins, d += t.draws, l += t.aWins;
                rudkoGames += t.games - t.aGamesAsRudko, rudkoWins += t.rudkoWins - t.aWinsAsRudko;
                bertoGames += t.aGamesAsRudko, bertoWins += t.bWins - (t.rudkoWins - t.aWinsAsRudko);
            }
        }
        std::printf("| %s | %+.0f ± %.0f | %d | %d | %d | %.1f%% | %.1f%% | %s |\n", names[i].c_str(), elo[i], error[i],
                    w, d, l, 100.0 * rudkoWins / std::max(1, rudkoGames), 100.0 * bertoWins / std::max(1, bertoGames),
                    describe(names[i]).c_str());
    }
    std::printf("\nEach pairing: the first player's wins-draws-losses, its wins as Rudko of its games as Rudko, "
                "and a game's mean length:\n");
    for (const Tally& t : tallies)
        std::printf("  %-11s vs %-11s %3d-%d-%-3d  (%d/%d as Rudko; %ld passes)\n", t.a.c_str(), t.b.c_str(), t.aWins,
                    t.draws, t.bWins, t.aWinsAsRudko, t.aGamesAsRudko, t.games ? t.passes / t.games : 0);
    cost(tallies);
    return 0;
}

// The old tournament: the computer against idle, random, and itself.
int legacy(const std::string& which, int games, uint32_t firstSeed)
{
    int lost = 0;
    for (const char* opponent : {"idle", "random", "computer"}) {
        if (which != "all" && which != opponent)
            continue;
        const std::string other = std::string(opponent) == "computer" ? "level5" : opponent;
        const Tally t = playAll({{"level5", other}}, games, firstSeed)[0];
        if (other == "level5") {
            std::printf("computer vs computer: %d of %d games decided within %u passes; Rudko won %d",
                        t.games - t.draws, t.games, LIMIT, t.rudkoWins);
            lost += t.draws;
        } else {
            std::printf("computer vs %s: won %d of %d", opponent, t.aWins, t.games);
            lost += t.games - t.aWins;
        }
        std::printf("; %ld passes a game on average (%.1f us a decision)\n", t.passes / t.games,
                    t.micros / t.decisions);
    }
    return lost == 0 ? 0 : 1;
}

}  // namespace

int mirrorProbe(int level, uint32_t seed);

int main(int argc, char** argv)
{
    const int games = argc > 1 ? std::atoi(argv[1]) : 200;
    const uint32_t firstSeed = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 1;
    const std::string mode = argc > 3 ? argv[3] : "all";
    KindGeometry geometry;
    geometry.bridgeHeight = 120; // the bridge the game's own art has
    if (!startHeadless(geometry)) {
        std::fprintf(stderr, "tournament: the rules cannot start\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (mode == "robin") {
        std::vector<std::string> names = {"level1", "level2", "level3", "level4", "level5", "classic"};
        for (const std::string& h : humanNames())
            names.push_back(h);
        if (argc > 4)
            names = split(argv[4]);
        return robin(names, games, firstSeed);
    }
    if (mode == "match" && argc > 5) {
        const Tally t = playAll({{argv[4], argv[5]}}, games, firstSeed)[0];
        std::printf("%s vs %s: %d-%d-%d (wins-draws-losses); %s won %d of %d as Rudko; Rudko won %d; %ld passes a game\n",
                    t.a.c_str(), t.b.c_str(), t.aWins, t.draws, t.bWins, t.a.c_str(), t.aWinsAsRudko,
                    t.aGamesAsRudko, t.rudkoWins, t.passes / t.games);
        cost({t});
        return 0;
    }
    if (mode == "mirror")
        return mirrorProbe(argc > 4 ? std::atoi(argv[4]) : 6, firstSeed);
    if (mode == "tricks") {
        std::string level = argc > 4 ? argv[4] : "5";
        if (level.size() == 1)
            level = "level" + level;
        std::vector<std::pair<std::string, std::string>> pairs;
        for (const std::string& trick : trickNames())
            pairs.push_back({level, trick});
        int weak = 0;
        for (const Tally& t : playAll(pairs, games, firstSeed)) {
            std::printf("%s vs %-11s won %3d of %d (%.1f%%), drew %d\n", level.c_str(), t.b.c_str(), t.aWins, t.games,
                        100.0 * t.aWins / t.games, t.draws);
            weak += t.aWins < (level == "level5" ? 0.95 : 0.8) * t.games;
        }
        return weak == 0 ? 0 : 1;
    }
    return legacy(mode, games, firstSeed);
}
END_OF_MAIN()
