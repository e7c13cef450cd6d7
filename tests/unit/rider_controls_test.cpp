#include <cmath>
#include <cstring>

#include "rider_fixture.h"

namespace {

using RiderControls = RiderTest;

TEST(RiderRecord, NewRiderIsTheSecondPlayersDefaultsOnTheSurface)
{
    Rider rider;
    EXPECT_EQ(rider.index, 0);
    EXPECT_EQ(rider.actionKey, 85);
    EXPECT_EQ(rider.leftKey, 82);
    EXPECT_EQ(rider.rightKey, 83);
    EXPECT_EQ(rider.state, STATE_SURFACE);
    EXPECT_EQ(rider.currentSprite, &rider.surfaceSprite);
    EXPECT_EQ(rider.mass, 100.0f);
    EXPECT_EQ(rider.health, 200);
    EXPECT_EQ(rider.height, 0.0f);
    EXPECT_EQ(rider.velocity, 0.0f);
    EXPECT_FALSE(rider.actionHeld);
    EXPECT_EQ(rider.blinkUntil, 0u);
}

TEST_F(RiderControls, ResetRestoresTheStartButKeepsKeysIndexAndName)
{
    std::strcpy(b->name, "Berto");
    b->height = -80.0f;
    b->verticalSpeed = 3.0f;
    b->velocity = 4.0f;
    b->acceleration = 1.0f;
    b->mass = 135.0f;
    b->health = 15;
    b->state = STATE_SUBMERGED;
    b->currentSprite = &b->submergedSprite;
    b->actionHeld = true;
    b->actionPressTick = 77;
    b->blinkUntil = 99;
    b->reset();
    EXPECT_EQ(b->height, 0.0f);
    EXPECT_EQ(b->verticalSpeed, 0.0f);
    EXPECT_EQ(b->velocity, 0.0f);
    EXPECT_EQ(b->acceleration, 0.0f);
    EXPECT_EQ(b->mass, 100.0f);
    EXPECT_EQ(b->health, 200);
    EXPECT_EQ(b->state, STATE_SURFACE);
    EXPECT_EQ(b->currentSprite, &b->surfaceSprite);
    EXPECT_FALSE(b->actionHeld);
    EXPECT_EQ(b->actionPressTick, 0u);
    EXPECT_EQ(b->blinkUntil, 0u);
    EXPECT_STREQ(b->name, "Berto");
    EXPECT_EQ(b->index, 1);
    EXPECT_EQ(b->leftKey, KEY_LEFT);
}

// Presses the action key at the current tick, holds it (one handleInput per tick) until
// `releaseAfter` ticks have passed, and releases it on that tick.
void charge(Rider* rider, uint32_t releaseAfter)
{
    const uint32_t pressed = ticks;
    key[rider->actionKey] = 1;
    rider->handleInput();
    while (ticks < pressed + releaseAfter) {
        ++ticks;
        if (ticks < pressed + releaseAfter)
            rider->handleInput();
    }
    key[rider->actionKey] = 0;
    rider->handleInput();
}

TEST_F(RiderControls, PressShowsTheWindUpBodyAndNothingElse)
{
    key[KEY_S] = 1;
    a->handleInput();
    EXPECT_TRUE(a->actionHeld);
    EXPECT_EQ(a->actionPressTick, 1000u);
    EXPECT_EQ(a->currentSprite, &a->windUpSprite);
    EXPECT_EQ(a->state, STATE_SURFACE);
    EXPECT_TRUE(playedSounds().empty());
}

TEST_F(RiderControls, JumpSpeedGrowsWithTheChargeAtMass100)
{
    const struct { uint32_t charge; float speed; } cases[] = {{1, 16.5f}, {2, 18.0f}, {20, 45.0f}};
    for (const auto& c : cases) {
        a->reset();
        charge(a, c.charge);
        EXPECT_EQ(a->verticalSpeed, c.speed) << "charge " << c.charge;
        EXPECT_EQ(a->state, STATE_AIRBORNE);
        EXPECT_EQ(a->currentSprite, &a->airborneSprite);
        EXPECT_FALSE(a->actionHeld);
        EXPECT_EQ(a->height, 0.0f);
    }
    ASSERT_EQ(playedSounds().size(), 3u);
    for (const PlayedSound& p : playedSounds()) {
        EXPECT_EQ(p.sample, jumpSample);
        EXPECT_TRUE(allowedPitch(p.pitch)) << p.pitch;
        EXPECT_EQ(p.loop, 0);
    }
}

TEST_F(RiderControls, HeavierRidersJumpLower)
{
    a->mass = 150.0f;
    charge(a, 1);
    EXPECT_EQ(a->verticalSpeed, static_cast<float>(165 / std::sqrt(150.0)));
    EXPECT_NEAR(a->verticalSpeed, 13.47f, 0.01f);
    a->reset();
    a->mass = 150.0f;
    charge(a, 20);
    EXPECT_NEAR(a->verticalSpeed, 36.74f, 0.01f);
}

TEST_F(RiderControls, HoldingTwentyTicksDivesOnceAndReleasingEmerges)
{
    key[KEY_S] = 1;
    a->handleInput();
    for (int i = 1; i < 20; ++i) {
        ++ticks;
        a->handleInput();
        ASSERT_EQ(a->state, STATE_SURFACE) << "tick " << i;
    }
    EXPECT_TRUE(playedSounds().empty());
    ++ticks;
    a->handleInput();
    EXPECT_EQ(a->height, -80.0f);
    EXPECT_EQ(a->state, STATE_SUBMERGED);
    EXPECT_EQ(a->currentSprite, &a->submergedSprite);
    for (int i = 0; i < 30; ++i) {
        ++ticks;
        a->handleInput();
    }
    EXPECT_EQ(a->state, STATE_SUBMERGED);
    ASSERT_EQ(samplesPlayed(), std::vector<SAMPLE*>{diveSample});

    ++ticks;
    key[KEY_S] = 0;
    a->handleInput();
    EXPECT_EQ(a->height, 0.0f);
    EXPECT_EQ(a->state, STATE_SURFACE);
    EXPECT_EQ(a->currentSprite, &a->surfaceSprite);
    EXPECT_FALSE(a->actionHeld);
    ASSERT_EQ(samplesPlayed(), (std::vector<SAMPLE*>{diveSample, emergeSample}));
    for (const PlayedSound& p : playedSounds()) {
        EXPECT_TRUE(allowedPitch(p.pitch)) << p.pitch;
        EXPECT_EQ(p.loop, 0);
    }
}

TEST_F(RiderControls, ReleaseAfterSkippedTicksNeitherJumpsNorEmerges)
{
    key[KEY_S] = 1;
    a->handleInput();
    ticks += 21;
    key[KEY_S] = 0;
    a->handleInput();
    EXPECT_EQ(a->state, STATE_SURFACE);
    EXPECT_EQ(a->height, 0.0f);
    EXPECT_EQ(a->verticalSpeed, 0.0f);
    EXPECT_EQ(a->currentSprite, &a->windUpSprite);
    EXPECT_FALSE(a->actionHeld);
    EXPECT_TRUE(playedSounds().empty());
}

TEST_F(RiderControls, KeysAreIgnoredInTheAirAndAfterTheGameIsDecided)
{
    key[KEY_A] = 1;
    key[KEY_S] = 1;
    a->state = STATE_AIRBORNE;
    a->handleInput();
    EXPECT_EQ(a->acceleration, 0.0f);
    EXPECT_FALSE(a->actionHeld);

    // Still down at the first step on the surface: the charge starts then.
    a->state = STATE_SURFACE;
    a->handleInput();
    EXPECT_EQ(a->acceleration, -1.0f);
    EXPECT_TRUE(a->actionHeld);
    EXPECT_EQ(a->actionPressTick, 1000u);

    gameOver = true;
    a->acceleration = 0.0f;
    key[KEY_S] = 0;
    ++ticks;
    a->handleInput();
    EXPECT_EQ(a->acceleration, 0.0f);
    EXPECT_TRUE(a->actionHeld);
    EXPECT_EQ(a->currentSprite, &a->windUpSprite);
    EXPECT_TRUE(playedSounds().empty());
}

TEST_F(RiderControls, SteeringDependsOnMassAndBothKeysCancel)
{
    key[KEY_LEFT] = 1;
    b->handleInput();
    EXPECT_EQ(b->acceleration, -1.0f);
    b->acceleration = 0.0f;
    key[KEY_RIGHT] = 1;
    b->handleInput();
    EXPECT_EQ(b->acceleration, 0.0f);
    key[KEY_LEFT] = 0;
    b->mass = 125.0f;
    b->handleInput();
    EXPECT_EQ(b->acceleration, 0.8f);

    // Both keys down: only the drag acts.
    key[KEY_LEFT] = 1;
    b->acceleration = 0.0f;
    b->mass = 100.0f;
    b->velocity = 3.0f;
    b->handleInput();
    b->applyDrag();
    b->integrateVelocity();
    EXPECT_EQ(b->velocity, 2.5f);
}

TEST_F(RiderControls, DragOpposesMotionOnlyOnTheWater)
{
    a->velocity = 0.0f;
    a->applyDrag();
    EXPECT_EQ(a->acceleration, 0.0f);
    a->velocity = 2.0f;
    a->applyDrag();
    EXPECT_EQ(a->acceleration, -0.5f);
    a->acceleration = 0.0f;
    a->velocity = -2.0f;
    a->mass = 125.0f;
    a->applyDrag();
    EXPECT_EQ(a->acceleration, 0.4f);
    a->acceleration = 0.0f;
    a->state = STATE_AIRBORNE | STATE_SURFACE;
    a->applyDrag();
    EXPECT_EQ(a->acceleration, 0.0f);
    a->state = STATE_SUBMERGED;
    a->applyDrag();
    EXPECT_EQ(a->acceleration, 0.4f);
}

TEST_F(RiderControls, SteeringAgainstTheMotionStopsInsteadOfReversing)
{
    a->velocity = 1.0f;
    key[KEY_A] = 1;
    a->handleInput();
    a->applyDrag();
    EXPECT_EQ(a->acceleration, -1.5f);
    a->integrateVelocity();
    EXPECT_EQ(a->velocity, 0.0f);

    a->acceleration = 0.0f;
    a->handleInput();
    a->applyDrag();
    a->integrateVelocity();
    EXPECT_EQ(a->velocity, -1.0f);
}

TEST_F(RiderControls, CoastingSlowsToExactlyZeroAndRests)
{
    a->velocity = 1.25f;
    const float expected[] = {0.75f, 0.25f, 0.0f, 0.0f, 0.0f};
    for (float v : expected) {
        a->handleInput();
        a->applyDrag();
        a->integrateVelocity();
        a->acceleration = 0.0f;
        EXPECT_EQ(a->velocity, v);
    }
}

TEST_F(RiderControls, AirborneVelocityStaysAsItIs)
{
    a->state = STATE_AIRBORNE;
    a->velocity = -3.0f;
    a->integrateVelocity();
    EXPECT_EQ(a->velocity, -3.0f);
}

}  // namespace
