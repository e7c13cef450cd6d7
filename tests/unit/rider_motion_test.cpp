// Jumps, dives, the banks and the end of a game, stepped on the riders of a world built in code.
#include <vector>

#include "world_fixture.h"

namespace world_test {
namespace {

using RiderMotion = WorldTest;

// Rudko charges for two ticks and releases; the release step is step 1 of the jump.
TEST_F(RiderMotion, WorkedJumpArcLandsAtStep18)
{
    step(ACTION);
    step(ACTION);
    std::vector<float> heights;
    std::vector<int> states;
    for (int s = 1; s <= 17; ++s) {
        step();
        heights.push_back(a.height);
        states.push_back(a.state);
        EXPECT_EQ(a.body, BODY_AIRBORNE) << "step " << s;
    }
    EXPECT_EQ(heights, (std::vector<float>{16, 30, 42, 52, 60, 66, 70, 72, 72, 70, 66, 60, 52, 42,
                                           30, 16, 0}));
    // The surface bit follows the height one step late.
    EXPECT_EQ(states, (std::vector<int>{6, 6, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 6}));
    EXPECT_EQ(sounds, "jump");

    step();
    EXPECT_EQ(a.height, 0.0f);
    EXPECT_EQ(a.verticalSpeed, 0.0f);
    EXPECT_EQ(a.state, STATE_SURFACE);
    EXPECT_EQ(a.body, BODY_SURFACE);
    EXPECT_EQ(sounds, "jump land");
}

TEST_F(RiderMotion, TopSpeedJumpIsAtZeroOneStepBeforeItLands)
{
    b.verticalSpeed = 45.0f;
    b.state = STATE_AIRBORNE;
    for (int s = 1; s <= 44; ++s)
        step();
    EXPECT_EQ(b.height, 0.0f);
    // It came down from 43 in one step, so the surface bit is still to follow.
    EXPECT_EQ(b.state, STATE_AIRBORNE);
    step();
    EXPECT_EQ(b.state, STATE_SURFACE);
    EXPECT_EQ(b.verticalSpeed, 0.0f);
}

// One move of a rider by a bank: exactly on a limit nothing happens; past it the rider is
// put on it, rebounds at half speed, loses 5 and blinks; a jump goes on as it was.
TEST_F(RiderMotion, BanksReboundAtHalfSpeedAndCostHealth)
{
    const struct {
        float x, velocity, height, verticalSpeed;
        uint32_t tick;
        float xAfter, velocityAfter, heightAfter;
        int health;
        uint32_t blink;
        const char* sounds;
    } cases[] = {
        {125.0f, 0.0f, 0.0f, 0.0f, 1000, 125.0f, 0.0f, 0.0f, 200, 0, ""},
        {675.0f, 0.0f, 0.0f, 0.0f, 1000, 675.0f, 0.0f, 0.0f, 200, 0, ""},
        {124.9f, 0.0f, 0.0f, 0.0f, 1000, 125.0f, 0.0f, 0.0f, 195, 1010, "bank"},
        {130.0f, -10.0f, 0.0f, 0.0f, 1000, 125.0f, 5.0f, 0.0f, 195, 1010, "bank"},
        {670.0f, 10.0f, 0.0f, 0.0f, 2000, 675.0f, -5.0f, 0.0f, 195, 2010, "bank"},
        {672.0f, 6.0f, 30.0f, 10.0f, 1000, 675.0f, -3.0f, 38.0f, 195, 1010, "bank"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        sounds.clear();
        b = RiderState{};
        b.index = 1;
        b.x = c.x;
        b.velocity = c.velocity;
        b.height = c.height;
        b.verticalSpeed = c.verticalSpeed;
        if (c.height > 0.0f)
            b.state = STATE_AIRBORNE;
        w.ticks = c.tick;
        rule([&](Contest& contest, Cues& cues) { rules::move(b, contest, cues); });
        EXPECT_EQ(b.x, c.xAfter);
        EXPECT_EQ(b.velocity, c.velocityAfter);
        EXPECT_EQ(b.height, c.heightAfter);
        EXPECT_EQ(b.health, c.health);
        EXPECT_EQ(b.blinkUntil, c.blink);
        EXPECT_EQ(b.state, c.height > 0.0f ? STATE_AIRBORNE : STATE_SURFACE);
        EXPECT_EQ(sounds, c.sounds);
    }
}

TEST_F(RiderMotion, SteeringIntoABankBouncesEverySecondStep)
{
    a.x = 125.0f;
    for (int s = 1; s <= 20; ++s) {
        step(LEFT);
        EXPECT_EQ(a.x, 125.0f) << "step " << s;
        EXPECT_EQ(a.velocity, s % 2 ? 0.5f : 0.0f) << "step " << s;
        EXPECT_EQ(a.health, 200 - 5 * ((s + 1) / 2)) << "step " << s;
        EXPECT_EQ(a.acceleration, 0.0f);
    }
    EXPECT_EQ(sounds, "bank bank bank bank bank bank bank bank bank bank");
}

TEST_F(RiderMotion, ComingInFastBouncesStopsAndReturns)
{
    b.x = 660.0f;
    b.velocity = 12.0f;
    step(NONE, RIGHT); // 12.5 -> 672.5
    EXPECT_EQ(b.x, 672.5f);
    step(NONE, RIGHT); // 13 -> bounced at -6.5
    EXPECT_EQ(b.x, 675.0f);
    EXPECT_EQ(b.velocity, -6.5f);
    EXPECT_EQ(b.health, 195);
    int bounces = 1;
    for (int s = 0; s < 40; ++s) {
        const int before = b.health;
        step(NONE, RIGHT);
        bounces += b.health < before;
        ASSERT_LE(b.x, 675.0f);
    }
    EXPECT_GT(bounces, 10);
    EXPECT_EQ(b.health, 200 - 5 * bounces);
}

// The first rider whose move finds it at 0 health or below decides the game for the other,
// once.
TEST_F(RiderMotion, RunningOutOfHealthNamesTheOtherTheWinner)
{
    const struct {
        int healthA;
        float xA;
        int healthB;
        uint8_t winnerBefore, winner;
        const char* sounds;
    } cases[] = {
        {5, 124.9f, 200, 0, 1, "bank stop-music game-end"},
        {200, 250.0f, -7, 1, 0, "stop-music game-end"},
        {0, 250.0f, -3, 0, 1, "stop-music game-end"}, // both at once: the second rider wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sounds);
        sounds.clear();
        w.gameOver = false;
        w.winner = c.winnerBefore;
        a.health = c.healthA;
        a.x = c.xA;
        b.health = c.healthB;
        step();
        EXPECT_EQ(a.health, c.healthA > 5 ? c.healthA : 0);
        EXPECT_EQ(b.health, c.healthB > 0 ? c.healthB : 0);
        EXPECT_TRUE(w.gameOver);
        EXPECT_EQ(w.winner, c.winner);
        EXPECT_EQ(sounds, c.sounds);
    }
    // The game goes on without being decided again: the winner drifts into the bank with no
    // say in it, down to 0 as well.
    sounds.clear();
    b.health = 5;
    b.velocity = 40.0f;
    for (int s = 0; s < 5; ++s)
        step(NONE, LEFT);
    EXPECT_EQ(b.health, 0);
    EXPECT_EQ(w.winner, 1);
    EXPECT_EQ(sounds, "bank");
}

} // namespace
} // namespace world_test
