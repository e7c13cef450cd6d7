// An online game whose other side stalls: a partner that sends a pass now and then is judged
// and the game stops saying why; ESC tapped while the game waits ends it at once and the other
// side follows; the menu says why a game stopped, and speaks of the end screen only after one.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "network/duel.h"
#include "../network/pump.h"

namespace {

using Clock = std::chrono::steady_clock;

using pump::pumpUntil;

RiderInput steady() { return {true, false, false}; }

// Two duels in one game, each side's passes as its pass loop would take them.
struct Game {
    Duel host{true, "", 0, steady, 0};
    std::unique_ptr<Duel> joiner;
    Duel& join;
    uint32_t shown[2] = {0, 0};
    uint32_t settled[2] = {0, 0};
    bool left[2] = {false, false};
    uint32_t partsFrom = UINT32_MAX; // from this pass on the joiner's state differs

    Game()
        : joiner(std::make_unique<Duel>(false, "127.0.0.1", (host.open(), host.port()), steady)),
          join(*joiner)
    {
        EXPECT_TRUE(host.connected() || host.port() != 0);
        EXPECT_TRUE(join.open());
        EXPECT_TRUE(pumpUntil([&] { host.poll(), join.poll(); },
                              [&] { return host.connected() && join.connected(); }, 3.0));
        join.clicked();
        EXPECT_TRUE(pumpUntil([&] { host.poll(); }, [&] { return host.startsGame(); }, 3.0));
        GameStart start;
        host.begin(start);
        EXPECT_TRUE(pumpUntil([&] { join.poll(); }, [&] { return join.startsGame(); }, 3.0));
        join.begin(start);
    }
    Duel& side(int s) { return s ? join : host; }
    void tick(int s, bool escape = false)
    {
        if (left[s] || side(s).broken())
            return;
        PassInput input;
        if (side(s).gather(shown[s], escape, input) && !input.leave)
            ++shown[s];
        while (settled[s] < side(s).confirmedPasses() && settled[s] <= shown[s]) {
            ASSERT_TRUE(side(s).regather(settled[s], input));
            if (input.leave) {
                left[s] = true;
                return;
            }
            const uint64_t riders = s == 1 && settled[s] >= partsFrom ? 7 : 1;
            side(s).confirmedWith(settled[s], input, StateHash{settled[s], riders, 2, 3});
            ++settled[s];
        }
    }
};

// A partner alive but sending a pass every `everyMs`, under half the game's pace.
void partnerIsJudged(int everyMs)
{
    SCOPED_TRACE("a pass every " + std::to_string(everyMs) + " ms");
    Game game;
    auto last = Clock::now();
    const auto started = Clock::now();
    std::string shown;
    const bool judged = pumpUntil(
        [&] {
            game.tick(0);
            if (game.host.waitingFor())
                shown = game.host.waitingFor();
            game.join.waiting();
            if (Clock::now() - last > std::chrono::milliseconds(everyMs)) {
                game.tick(1);
                last = Clock::now();
            }
        },
        [&] { return game.host.broken(); }, 12.0);
    ASSERT_TRUE(judged) << "the host waited for ever";
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(11));
    EXPECT_EQ(game.host.brokenWhy().rfind("the other rider's game was too slow", 0), 0u)
        << game.host.brokenWhy();
    EXPECT_TRUE(everyMs < 250 || shown == "waiting for the other rider") << shown; // shown from 250 ms
    testing::internal::CaptureStdout();
    game.host.ended(GameResult());
    game.host.afterGame(GameResult());
    const std::string printed = testing::internal::GetCapturedStdout();
    // The connection lives, and the menu still says why the game stopped.
    EXPECT_TRUE(game.host.connected());
    EXPECT_EQ(std::string(game.host.status()).rfind("the other rider's game was too slow", 0), 0u)
        << game.host.status();
    EXPECT_NE(printed.find("riverduel: the other rider's game was too slow"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("end screen"), std::string::npos) << printed;
}

TEST(NetworkStall, APartnerBelowHalfThePaceIsJudgedAndTheReasonShown)
{
    partnerIsJudged(2400);
    partnerIsJudged(190);
}

// Both sides on one busy machine, a pass every 150 ms: neither blames the other.
TEST(NetworkStall, AMachineThatIsItselfSlowBlamesNobody)
{
    Game game;
    const auto slow = [&] { game.tick(0), game.tick(1), std::this_thread::sleep_for(std::chrono::milliseconds(150)); };
    EXPECT_FALSE(pumpUntil(slow, [&] { return game.host.broken() || game.join.broken(); }, 11.0)) << game.host.brokenWhy();
    EXPECT_GT(game.settled[0], 50u);
}

TEST(NetworkStall, EscapeTappedWhileWaitingLeavesAtOnceAndTheOtherSideFollows)
{
    Game game;
    ASSERT_TRUE(pumpUntil([&] { game.tick(0), game.tick(1); },
                          [&] { return game.settled[0] >= 30 && game.settled[1] >= 30; }, 5.0));
    // The joiner stops sending passes (still alive); the host runs out of guesses and waits.
    ASSERT_TRUE(pumpUntil([&] { game.tick(0), game.join.waiting(); },
                          [&] { return game.host.waitingFor() != nullptr; }, 3.0));
    EXPECT_STREQ(game.host.waitingFor(), "waiting for the other rider");
    game.tick(0, true); // a tap: down for one look only
    const auto tapped = Clock::now();
    ASSERT_TRUE(pumpUntil([&] { game.tick(0), game.join.waiting(); },
                          [&] { return game.host.broken(); }, 2.0));
    EXPECT_LT(Clock::now() - tapped, std::chrono::milliseconds(600));
    EXPECT_EQ(game.host.brokenWhy(), "") << "a leave is no fault";
    // The joiner plays on and leaves where the host's inputs end.
    ASSERT_TRUE(pumpUntil([&] { game.tick(1), game.host.waiting(); }, [&] { return game.left[1]; }, 3.0));
    EXPECT_FALSE(game.join.broken()) << game.join.brokenWhy();
    EXPECT_GE(game.settled[1], game.settled[0]);
    // A game left without an end screen never speaks of one.
    testing::internal::CaptureStdout();
    game.host.afterGame(GameResult());
    game.join.afterGame(GameResult());
    game.host.poll();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.find("end screen"), std::string::npos) << printed;
}

TEST(NetworkStall, GamesThatPartSayWhereInTheMenuAndTheEndScreenIsNamedOnlyAfterOne)
{
    Game game;
    game.partsFrom = 25;
    ASSERT_TRUE(pumpUntil([&] { game.tick(0), game.tick(1); },
                          [&] { return game.host.broken() && game.join.broken(); }, 5.0));
    testing::internal::CaptureStdout();
    game.host.afterGame(GameResult());
    const std::string printed = testing::internal::GetCapturedStdout();
    const std::string why = "the games drifted apart at pass 39: the riders differ";
    EXPECT_EQ(std::string(game.host.status()).rfind(why + " - ", 0), 0u) << game.host.status();
    EXPECT_NE(printed.find("riverduel: " + why), std::string::npos) << printed;
    EXPECT_TRUE(game.host.connected());
    game.join.afterGame(GameResult());

    // A decided game: the side that left its end screen first waits for the other.
    Game second;
    ASSERT_TRUE(pumpUntil([&] { second.tick(0), second.tick(1); },
                          [&] { return second.settled[0] >= 10; }, 5.0));
    GameResult decided;
    decided.decided = true;
    second.host.ended(decided);
    second.host.afterGame(decided);
    EXPECT_STREQ(second.host.status(), "the other rider is still looking at the end screen");
}

} // namespace
