// A rider's keys, its drag and its speed, on riders of a world built in code.
#include <cstring>

#include "classic/rider.h"
#include "world_fixture.h"

namespace world_test {
namespace {

using RiderControls = WorldTest;

TEST(RiderRecord, NewRiderIsTheSecondPlayersDefaultsOnTheSurfaceAndResetPutsThemBack)
{
    Rider rider;
    EXPECT_EQ(rider.index, 0);
    EXPECT_EQ(rider.actionKey, 85);
    EXPECT_EQ(rider.leftKey, 82);
    EXPECT_EQ(rider.rightKey, 83);
    EXPECT_EQ(rider.currentSprite, &rider.surfaceSprite);
    // The rules' record starts where a new rider does.
    EXPECT_EQ(describe(stateOf(rider)), describe(RiderState{}));

    std::strcpy(rider.name, "Berto");
    rider.index = 1;
    rider.leftKey = KEY_LEFT;
    // height, its speed, x, velocity, acceleration, mass, health, index, state, blink, held,
    // pressed, body
    const RiderState worn{-80.0f, 3.0f, 0.0f, 4.0f, 1.0f, 135.0f, 15, 1, STATE_SUBMERGED, 99, true, 77,
                          BODY_SUBMERGED};
    putState(rider, worn);
    EXPECT_EQ(describe(stateOf(rider)), describe(worn));
    rider.reset();
    RiderState fresh;
    fresh.index = 1;
    EXPECT_EQ(describe(stateOf(rider)), describe(fresh));
    EXPECT_EQ(rider.currentSprite, &rider.surfaceSprite);
    EXPECT_STREQ(rider.name, "Berto");
    EXPECT_EQ(rider.leftKey, KEY_LEFT);
}

TEST_F(RiderControls, JumpSpeedGrowsWithTheChargeAndHeavierRidersJumpLower)
{
    const struct {
        float mass;
        uint32_t charge;
        float speed;
    } cases[] = {{100.0f, 1, 16.5f},      {100.0f, 2, 18.0f},      {100.0f, 20, 45.0f},
                 {150.0f, 1, 13.472194f}, {150.0f, 20, 36.742346f}};
    for (const auto& c : cases) {
        a = RiderState{};
        a.mass = c.mass;
        // The action key held for `charge` ticks, and let go after them.
        for (uint32_t i = 0; i < c.charge; ++i, ++w.ticks)
            press(a, ACTION);
        press(a, NONE);
        EXPECT_FLOAT_EQ(a.verticalSpeed, c.speed) << "charge " << c.charge << " mass " << c.mass;
        EXPECT_EQ(a.state, STATE_AIRBORNE);
        EXPECT_EQ(a.body, BODY_AIRBORNE);
        EXPECT_FALSE(a.actionHeld);
        EXPECT_EQ(a.height, 0.0f);
    }
    EXPECT_EQ(sounds, "jump jump jump jump jump");
}

// A press only shows the wind-up body; held for 20 ticks it dives, once; let go, it emerges.
TEST_F(RiderControls, HoldingTwentyTicksDivesOnceAndReleasingEmerges)
{
    auto hold = [&](RiderInput in) {
        press(a, in);
        ++w.ticks;
    };
    hold(ACTION);
    EXPECT_TRUE(a.actionHeld);
    EXPECT_EQ(a.actionPressTick, 1000u);
    EXPECT_EQ(a.body, BODY_WIND_UP);
    for (int i = 1; i < 20; ++i) {
        hold(ACTION);
        ASSERT_EQ(a.state, STATE_SURFACE) << "tick " << i;
    }
    EXPECT_EQ(sounds, "");
    hold(ACTION);
    EXPECT_EQ(a.height, -80.0f);
    EXPECT_EQ(a.state, STATE_SUBMERGED);
    EXPECT_EQ(a.body, BODY_SUBMERGED);
    for (int i = 0; i < 30; ++i)
        hold(ACTION);
    EXPECT_EQ(a.state, STATE_SUBMERGED);
    EXPECT_EQ(sounds, "dive");

    hold(NONE);
    EXPECT_EQ(a.height, 0.0f);
    EXPECT_EQ(a.state, STATE_SURFACE);
    EXPECT_EQ(a.body, BODY_SURFACE);
    EXPECT_FALSE(a.actionHeld);
    EXPECT_EQ(sounds, "dive emerge");
}

TEST_F(RiderControls, ReleaseAfterSkippedTicksNeitherJumpsNorEmerges)
{
    press(a, ACTION);
    w.ticks += 21;
    press(a, NONE);
    EXPECT_EQ(a.state, STATE_SURFACE);
    EXPECT_EQ(a.height, 0.0f);
    EXPECT_EQ(a.verticalSpeed, 0.0f);
    EXPECT_EQ(a.body, BODY_WIND_UP);
    EXPECT_FALSE(a.actionHeld);
    EXPECT_EQ(sounds, "");
}

TEST_F(RiderControls, KeysAreIgnoredInTheAirAndAfterTheGameIsDecided)
{
    const RiderInput leftAndAction{true, false, true};
    a.state = STATE_AIRBORNE;
    press(a, leftAndAction);
    EXPECT_EQ(a.acceleration, 0.0f);
    EXPECT_FALSE(a.actionHeld);

    // Still down at the first step on the surface: the charge starts then.
    a.state = STATE_SURFACE;
    press(a, leftAndAction);
    EXPECT_EQ(a.acceleration, -1.0f);
    EXPECT_TRUE(a.actionHeld);
    EXPECT_EQ(a.actionPressTick, 1000u);

    w.gameOver = true;
    a.acceleration = 0.0f;
    ++w.ticks;
    press(a, LEFT);
    EXPECT_EQ(a.acceleration, 0.0f);
    EXPECT_TRUE(a.actionHeld);
    EXPECT_EQ(a.body, BODY_WIND_UP);
    EXPECT_EQ(sounds, "");
}

// One rider's keys, drag and new speed: steering depends on the mass, both keys cancel, the
// drag opposes motion only on or under the water, and steering against the motion stops the
// rider for a step instead of turning it round.
TEST(RiderSpeed, KeysThenDragThenVelocity)
{
    const RiderInput both{true, true, false};
    const struct {
        float mass, velocity;
        uint8_t state;
        RiderInput keys;
        float acceleration, after;
    } cases[] = {
        {100.0f, 0.0f, STATE_SURFACE, LEFT, -1.0f, -1.0f},
        {100.0f, 0.0f, STATE_SURFACE, both, 0.0f, 0.0f},
        {125.0f, 0.0f, STATE_SURFACE, RIGHT, 0.8f, 0.8f},
        {100.0f, 3.0f, STATE_SURFACE, both, -0.5f, 2.5f},
        {100.0f, 2.0f, STATE_SURFACE, NONE, -0.5f, 1.5f},
        {125.0f, -2.0f, STATE_SURFACE, NONE, 0.4f, -1.6f},
        {125.0f, -2.0f, STATE_SUBMERGED, NONE, 0.4f, -1.6f},
        {125.0f, -2.0f, STATE_AIRBORNE | STATE_SURFACE, NONE, 0.0f, -2.0f},
        {100.0f, -3.0f, STATE_AIRBORNE, LEFT, 0.0f, -3.0f},
        {100.0f, 1.0f, STATE_SURFACE, LEFT, -1.5f, 0.0f},
        {100.0f, 0.25f, STATE_SURFACE, NONE, -0.5f, 0.0f},
    };
    Unheard nothing;
    for (const auto& c : cases) {
        RiderState r;
        r.mass = c.mass;
        r.velocity = c.velocity;
        r.state = c.state;
        rules::handleInput(r, c.keys, 1000, false, nothing);
        rules::applyDrag(r);
        EXPECT_EQ(r.acceleration, c.acceleration) << "mass " << c.mass << " v " << c.velocity;
        rules::integrateVelocity(r);
        EXPECT_EQ(r.velocity, c.after) << "mass " << c.mass << " v " << c.velocity;
    }
}

TEST_F(RiderControls, CoastingSlowsToExactlyZeroAndRests)
{
    a.velocity = 1.25f;
    const float velocity[] = {0.75f, 0.25f, 0.0f, 0.0f, 0.0f};
    const float x[] = {250.75f, 251.0f, 251.0f, 251.0f, 251.0f};
    for (int s = 0; s < 5; ++s) {
        step();
        EXPECT_EQ(a.velocity, velocity[s]) << "step " << s;
        EXPECT_EQ(a.x, x[s]) << "step " << s;
        EXPECT_EQ(a.acceleration, 0.0f);
    }
}

} // namespace
} // namespace world_test
