// Games in threads of one process play as they do alone: each world keeps its own generator
// and nothing of the game is shared, so eight seeded games at once end on the lines they end
// on one after another.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "../tools/holds.h"
#include "classic/game.h"

TEST(Threads, SeededGamesPlayAsTheyDoAlone)
{
    const int GAMES = 8;
    auto play = [](int game) {
        Holds holds(700 + game);
        GameStart start;
        start.lastSpawnTick = 3u * game; // carried over from an earlier game, as a run does
        return resultLine(playAlone(defaultGameSetup(), start, holds, 12000));
    };
    std::vector<std::string> alone(GAMES);
    for (int g = 0; g < GAMES; ++g)
        alone[g] = play(g);
    // Each thread plays every game, starting from its own, so that all of them overlap.
    std::vector<std::vector<std::string>> together(GAMES, std::vector<std::string>(GAMES));
    std::vector<std::thread> threads;
    for (int t = 0; t < GAMES; ++t)
        threads.emplace_back([&, t] {
            for (int k = 0; k < GAMES; ++k)
                together[t][(t + k) % GAMES] = play((t + k) % GAMES);
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int g = 0; g < GAMES; ++g) {
        EXPECT_NE(alone[g].rfind("winner none", 0), 0u) << "game " << g << " was decided";
        for (int t = 0; t < GAMES; ++t)
            EXPECT_EQ(together[t][g], alone[g]) << "game " << g << " in thread " << t;
    }
}
