// A game fed the other rider's keys late, on guesses taken back when wrong, as an online duel
// plays it: for every pinned game and many lags, the passes known for good, the state after
// each of them and the result are those of the game played straight; the end is never shown
// on a guess nor taken back, and its sound plays once.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "classic/game.h"
#include "recording/recording.h"
#include "simulation/feed.h"
#include "classic/headless.h"

namespace {

// One rider's keys known at once, the other's arriving 0 to 11 passes late, the lag changing
// now and then (beyond the window of 8 the game waits, and the lag shrinks while it does). A
// missing pass of the other's is guessed as his last known one, never as a leave.
struct LateFeed : PassFeed {
    const Recording& recording;
    std::mt19937 lag;
    uint32_t late = 0;
    uint32_t arrived = 0; // Berto's passes known
    std::vector<uint8_t> confirmedInputs;
    std::vector<uint64_t> states; // after each pass known for good
    uint32_t rolledBackPasses = 0, waits = 0;
    bool disorder = false;

    uint8_t lateBits; // the other rider's
    LateFeed(const Recording& recording, uint32_t seed)
        : recording(recording), lag(seed), lateBits(seed % 2 ? 0x38 : 0x07)
    {
    }
    uint32_t size() const { return uint32_t(recording.passes.size()); }
    void begin(GameStart& start) override { start = recording.start; }
    bool best(uint32_t pass, PassInput& input) const
    {
        if (pass >= size())
            return false;
        uint8_t byte = recording.passes[pass];
        if (pass >= arrived) {
            if (byte & 0x40 || pass >= arrived + 8)
                return false;
            byte = uint8_t((byte & ~lateBits & 0x3f) | (arrived ? recording.passes[arrived - 1] & lateBits : 0));
        }
        return unpackPass(byte, input);
    }
    bool gather(uint32_t pass, bool, PassInput& input) override
    {
        ranOut = ranOut || pass >= size(); // the game went past its end: it played differently
        if (lag() % 16 == 0)
            late = lag() % 12;
        if (pass + 1 > late)
            arrived = std::max(arrived, std::min(pass + 1 - late, size()));
        if (best(pass, input))
            return true;
        ++waits;
        late = late > 0 ? late - 1 : 0;
        return false;
    }
    bool ranOut = false;
    bool broken() const override { return ranOut; }
    uint32_t confirmedPasses() const override { return arrived; }
    bool regather(uint32_t pass, PassInput& input) override { return best(pass, input); }
    void confirmed(uint32_t pass, const PassInput& input, const World& world) override
    {
        disorder = disorder || pass != confirmedInputs.size() || pass >= arrived;
        confirmedInputs.push_back(packPass(input));
        states.push_back(hashWorld(world).whole());
    }
    void rolledBack(uint32_t, uint32_t passes) override { rolledBackPasses += passes; }
};

// The same game straight from its recording.
struct Straight : PassFeed {
    const Recording& recording;
    std::vector<uint64_t> states;
    explicit Straight(const Recording& recording) : recording(recording) {}
    void begin(GameStart& start) override { start = recording.start; }
    bool gather(uint32_t pass, bool, PassInput& input) override
    {
        return pass < recording.passes.size() && unpackPass(recording.passes[pass], input);
    }
    void confirmed(uint32_t, const PassInput&, const World& world) override
    {
        states.push_back(hashWorld(world).whole());
    }
};

// What the player would see and hear.
struct Watching : Stage {
    void stall(const char*) override {}
    bool endShown = false, endTakenBack = false;
    int endSounds = 0;
    void show(const World& world, const Cues& cues) override
    {
        endTakenBack = endTakenBack || (endShown && !world.gameOver);
        endShown = endShown || world.gameOver;
        for (int i = 0; i < cues.count; ++i)
            endSounds += cues.list[i].event == SND_GAME_END;
    }
};

template <class Feed>
GameResult play(Feed& feed, Stage& stage)
{
    GameStart start;
    feed.begin(start);
    World world;
    startWorld(world, defaultGameSetup(), start);
    return playGame(world, feed, stage);
}

} // namespace

TEST(GuessedPasses, EveryPinnedGameComesOutAsPlayedStraight)
{
    for (const char* game : {"berto_wins", "decided_then_esc", "left_with_esc", "long_river",
                             "rudko_wins", "stomping"}) {
        Recording recording;
        ASSERT_EQ(loadRecording(std::string(RIVERDUEL_SOURCE_DIR "/tests/games/") + game + ".rdr",
                                recording), "");
        ASSERT_TRUE(startHeadless(recording.geometry));
        Straight straight(recording);
        Stage nowhere;
        const GameResult want = play(straight, nowhere);
        uint32_t rolledBack = 0, waits = 0;
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            LateFeed late(recording, seed);
            Watching watching;
            const GameResult got = play(late, watching);
            const std::string where = std::string(game) + " seed " + std::to_string(seed);
            EXPECT_EQ(resultLine(got), resultLine(want)) << where;
            EXPECT_EQ(got.state.whole(), want.state.whole()) << where;
            EXPECT_FALSE(late.disorder) << where << ": passes told out of order or on a guess";
            // Every pass known for good, the one that ended the game too, as recorded.
            EXPECT_EQ(late.confirmedInputs, recording.passes) << where;
            EXPECT_EQ(late.states, straight.states) << where;
            rolledBack += late.rolledBackPasses;
            waits += late.waits;
            EXPECT_FALSE(watching.endTakenBack) << where;
            EXPECT_EQ(watching.endShown, want.decided) << where;
            EXPECT_EQ(watching.endSounds, want.decided ? 1 : 0) << where;
        }
        // The lags did their work: guesses were taken back, and the game waited.
        EXPECT_GT(rolledBack, 0u) << game;
        EXPECT_GT(waits, 0u) << game;
    }
}
