// The computer's levels in seeded games: each level, riding Berto against a Rudko of random
// holds, plays its game to the line pinned for it, and the game's recording (the riders'
// inputs alone, no computer) plays back to the very state it ended in, the game's own
// generator included. (That deciding draws no number at all is in computer_test.cpp.)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "classic/session.h"
#include "classic/game.h"
#include "app/game.h"
#include "computer/computer.h"
#include "recording/recording.h"
#include "classic/headless.h"
#include "../tools/holds.h"

namespace {

// The result line of each level's game on seed 40 + LEVEL; they change only when the
// computer's play does.
const char* const pinned[HIGHEST_LEVEL + 1] = {
    "",
    "winner Berto steps 517 state 7ea69c074f36fb9c",
    "winner Berto steps 666 state 20ac712530f5c5c6",
    "winner Berto steps 1338 state 0b98b0d6d63b4d23",
    "winner Berto steps 598 state d20237c5c53e7d22",
    "winner Berto steps 767 state 0ab4e94b5df1251f",
};

} // namespace

TEST(ComputerLevels, EachLevelPlaysItsPinnedGameDrawsNoRandomNumberAndReplaysExactly)
{
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    ASSERT_TRUE(startHeadless(geometry));
    const std::string path = "/tmp/riverduel-test-" + std::to_string(getpid()) + "-level.rdr";
    for (int level = LOWEST_LEVEL; level <= HIGHEST_LEVEL; ++level) {
        Holds rudko(40 + level);
        const bool berto[2] = {false, true};
        const int levels[2] = {level, level};
        std::unique_ptr<PassFeed> computer(computerFeed(rudko, berto, levels));
        std::unique_ptr<PassFeed> recorded(recordingFeed(*computer, path));
        const GameResult played = playHeadless(defaultGameSetup(), *recorded, 12000);
        recorded.reset();
        const std::string line = resultLine(played);
        EXPECT_EQ(line, pinned[level]) << "level " << level;

        Recording recording;
        ASSERT_EQ(loadRecording(path, recording), "");
        std::remove(path.c_str());
        GameResult replayed;
        ASSERT_EQ(replayRecording(recording, replayed), "");
        EXPECT_EQ(resultLine(replayed), line) << "level " << level;
        EXPECT_TRUE(replayed.state == played.state) << "level " << level << ": the replay ends elsewhere";
        EXPECT_EQ(replayed.state.random, played.state.random) << "level " << level;
    }
}

// The demo plays one game after another: a game that ran to its end leads to the next without
// a click, one that a key left (or that was cut off) back to the menu.
TEST(ComputerLevels, TheDemoStartsTheNextGameOnlyAfterOneThatEnded)
{
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    ASSERT_TRUE(startHeadless(geometry));
    std::unique_ptr<Session> demo(demoSession(LOWEST_LEVEL));
    EXPECT_TRUE(demo->startsGame());
    GameResult played = playHeadless(defaultGameSetup(), demo->feed(), 12000);
    ASSERT_TRUE(played.decided);
    EXPECT_TRUE(demo->afterGame(played));
    EXPECT_TRUE(demo->startsGame());
    played.dismissed = true;
    EXPECT_TRUE(demo->afterGame(played));
    EXPECT_FALSE(demo->startsGame());
}
