// Rolling back: every pinned game and fifty games of random holds come out the same however
// far a pass is stepped ahead from a saved world and stepped again, and a step that keeps
// something outside the world is caught at the pass it shows.
#include <gtest/gtest.h>

#include <fstream>

#include "classic/session.h"
#include "classic/game.h"
#include "recording/recording.h"
#include "../tools/holds.h"

namespace {

// Notes a game's start and every pass's inputs as a recording would.
struct Keep : PassFeed {
    PassFeed& inner;
    Recording recording;
    explicit Keep(PassFeed& inner) : inner(inner) { recording.geometry = currentGeometry(); }
    void begin(GameStart& start) override
    {
        inner.begin(start);
        recording.start = start;
    }
    bool gather(uint32_t pass, bool escape, PassInput& input) override
    {
        if (!inner.gather(pass, escape, input))
            return false;
        recording.passes.push_back(packPass(input));
        return true;
    }
};

// A pass that remembers something of its own: every 50th call nudges a rider.
bool leaky(World& world, const PassInput& input, Cues& cues)
{
    static int calls = 0;
    const bool stepped = stepWorld(world, input, cues);
    if (++calls % 50 == 0)
        world.riders[0].x += 1.0f;
    return stepped;
}

} // namespace

TEST(Rollback, PinnedAndRandomGamesComeOutTheSameSteppedAgain)
{
    for (const char* game : {"berto_wins", "decided_then_esc", "left_with_esc", "long_river",
                             "rudko_wins", "stomping"}) {
        const std::string base = std::string(RIVERDUEL_SOURCE_DIR "/tests/games/") + game;
        Recording recording;
        ASSERT_EQ(loadRecording(base + ".rdr", recording), "");
        ASSERT_TRUE(startHeadless(recording.geometry));
        std::string line;
        std::getline(std::ifstream(base + ".line"), line);
        for (int ahead = 1; ahead <= 8; ++ahead) {
            GameResult result;
            bool apart = false;
            EXPECT_EQ(checkRollback(recording, ahead, result, apart), "") << game << " " << ahead;
            EXPECT_EQ(resultLine(result), line) << game << " " << ahead;
        }
    }
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    ASSERT_TRUE(startHeadless(geometry));
    for (int g = 0; g < 50; ++g) {
        Holds holds(1000 + g);
        Keep keep(holds);
        const GameResult played = playHeadless(defaultGameSetup(), keep, 12000);
        keep.recording.passes.push_back(0x40); // left after the last pass, or the pass that ended it
        if (played.decided)
            keep.recording.passes.pop_back();
        GameResult result;
        bool apart = false;
        EXPECT_EQ(checkRollback(keep.recording, 1 + g % 8, result, apart), "") << "game " << g;
        EXPECT_EQ(resultLine(result), resultLine(played)) << "game " << g;
    }
}

TEST(Rollback, StateKeptOutsideTheWorldIsNamedWithItsPass)
{
    Recording recording;
    ASSERT_EQ(loadRecording(RIVERDUEL_SOURCE_DIR "/tests/games/long_river.rdr", recording), "");
    ASSERT_TRUE(startHeadless(recording.geometry));
    GameResult result;
    bool apart = false;
    const std::string why = checkRollback(recording, 4, result, apart, leaky);
    EXPECT_TRUE(apart);
    EXPECT_EQ(why.substr(0, 5), "pass ") << why;
    EXPECT_NE(why.find(": the riders differ"), std::string::npos) << why;
}
