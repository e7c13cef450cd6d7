#include "rider_fixture.h"

namespace {

using RiderMotion = RiderTest;

// Rudko charges for two ticks and releases; the release step is step 1 of the jump.
TEST_F(RiderMotion, WorkedJumpArcLandsAtStep18)
{
    SKIP_WITHOUT_SCREEN();
    key[KEY_S] = 1;
    step();
    step();
    key[KEY_S] = 0;
    const float heights[17] = {16, 30, 42, 52, 60, 66, 70, 72, 72, 70, 66, 60, 52, 42, 30, 16, 0};
    for (int s = 1; s <= 17; ++s) {
        step();
        ASSERT_EQ(a->height, heights[s - 1]) << "step " << s;
        const bool low = s <= 2 || s == 17;
        EXPECT_EQ(a->state, low ? STATE_AIRBORNE | STATE_SURFACE : STATE_AIRBORNE) << "step " << s;
        EXPECT_EQ(a->currentSprite, &a->airborneSprite);
    }
    EXPECT_EQ(samplesPlayed(), std::vector<SAMPLE*>{jumpSample});

    step();
    EXPECT_EQ(a->height, 0.0f);
    EXPECT_EQ(a->verticalSpeed, 0.0f);
    EXPECT_EQ(a->state, STATE_SURFACE);
    EXPECT_EQ(a->currentSprite, &a->surfaceSprite);
    EXPECT_EQ(samplesPlayed(), (std::vector<SAMPLE*>{jumpSample, landSample}));
    EXPECT_TRUE(allowedPitch(playedSounds()[1].pitch));
    EXPECT_EQ(playedSounds()[1].loop, 0);
}

TEST_F(RiderMotion, TopSpeedJumpIsAtZeroOneStepBeforeItLands)
{
    SKIP_WITHOUT_SCREEN();
    b->verticalSpeed = 45.0f;
    b->state = STATE_AIRBORNE;
    for (int s = 1; s <= 44; ++s)
        b->move();
    EXPECT_EQ(b->height, 0.0f);
    // It came down from 43 in one step, so the surface bit is still to follow.
    EXPECT_EQ(b->state, STATE_AIRBORNE);
    b->move();
    EXPECT_EQ(b->state, STATE_SURFACE);
    EXPECT_EQ(b->verticalSpeed, 0.0f);
}

TEST_F(RiderMotion, DivedRiderLosesTheSurfaceBit)
{
    SKIP_WITHOUT_SCREEN();
    key[KEY_DOWN] = 1;
    for (int i = 0; i < 21; ++i)
        step();
    EXPECT_EQ(b->height, -80.0f);
    EXPECT_EQ(b->state, STATE_SUBMERGED);
}

TEST_F(RiderMotion, RiderExactlyOnABankLimitIsNotBounced)
{
    SKIP_WITHOUT_SCREEN();
    a->x = 125.0f;
    b->x = SCREEN_W - 125.0f;
    step();
    EXPECT_EQ(a->x, 125.0f);
    EXPECT_EQ(b->x, 675.0f);
    EXPECT_EQ(a->health, 200);
    EXPECT_EQ(b->health, 200);
    EXPECT_TRUE(playedSounds().empty());
}

TEST_F(RiderMotion, BanksReboundAtHalfSpeedAndCostHealth)
{
    SKIP_WITHOUT_SCREEN();
    a->x = 124.9f;
    a->move();
    EXPECT_EQ(a->x, 125.0f);
    EXPECT_EQ(a->health, 195);
    EXPECT_EQ(a->blinkUntil, 1010u);

    a->x = 130.0f;
    a->velocity = -10.0f;
    a->move();
    EXPECT_EQ(a->x, 125.0f);
    EXPECT_EQ(a->velocity, 5.0f);
    EXPECT_EQ(a->health, 190);

    b->x = 670.0f;
    b->velocity = 10.0f;
    ticks = 2000;
    b->move();
    EXPECT_EQ(b->x, 675.0f);
    EXPECT_EQ(b->velocity, -5.0f);
    EXPECT_EQ(b->health, 195);
    EXPECT_EQ(b->blinkUntil, 2010u);

    ASSERT_EQ(samplesPlayed(), (std::vector<SAMPLE*>{bankSample, bankSample, bankSample}));
    for (const PlayedSound& p : playedSounds()) {
        EXPECT_TRUE(allowedPitch(p.pitch));
        EXPECT_EQ(p.loop, 0);
    }
}

TEST_F(RiderMotion, RiderInAJumpIsBouncedWithoutChangingItsArc)
{
    SKIP_WITHOUT_SCREEN();
    b->x = 672.0f;
    b->velocity = 6.0f;
    b->height = 30.0f;
    b->verticalSpeed = 10.0f;
    b->state = STATE_AIRBORNE;
    b->move();
    EXPECT_EQ(b->x, 675.0f);
    EXPECT_EQ(b->velocity, -3.0f);
    EXPECT_EQ(b->health, 195);
    EXPECT_EQ(b->height, 38.0f);
    EXPECT_EQ(b->state, STATE_AIRBORNE);
}

TEST_F(RiderMotion, SteeringIntoABankBouncesEverySecondStep)
{
    SKIP_WITHOUT_SCREEN();
    a->x = 125.0f;
    key[KEY_A] = 1;
    for (int s = 1; s <= 20; ++s) {
        step();
        EXPECT_EQ(a->x, 125.0f) << "step " << s;
        EXPECT_EQ(a->velocity, s % 2 ? 0.5f : 0.0f) << "step " << s;
        EXPECT_EQ(a->health, 200 - 5 * ((s + 1) / 2)) << "step " << s;
        EXPECT_EQ(a->acceleration, 0.0f);
    }
    EXPECT_EQ(playedSounds().size(), 10u);
}

TEST_F(RiderMotion, ComingInFastBouncesStopsAndReturns)
{
    SKIP_WITHOUT_SCREEN();
    b->x = 660.0f;
    b->velocity = 12.0f;
    key[KEY_RIGHT] = 1;
    step();  // 12.5 -> 672.5
    EXPECT_EQ(b->x, 672.5f);
    step();  // 13 -> bounced at -6.5
    EXPECT_EQ(b->x, 675.0f);
    EXPECT_EQ(b->velocity, -6.5f);
    EXPECT_EQ(b->health, 195);
    int bounces = 1;
    for (int s = 0; s < 40; ++s) {
        const int before = b->health;
        step();
        bounces += b->health < before;
        ASSERT_LE(b->x, 675.0f);
    }
    EXPECT_GT(bounces, 10);
    EXPECT_EQ(b->health, 200 - 5 * bounces);
}

TEST_F(RiderMotion, FirstRiderAtZeroHealthNamesTheOtherTheWinner)
{
    SKIP_WITHOUT_SCREEN();
    a->health = 5;
    a->x = 124.9f;
    step();
    EXPECT_EQ(a->health, 0);
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(winner, 1);
    EXPECT_EQ(stoppedSounds(), std::vector<SAMPLE*>{musicSample});
    ASSERT_EQ(samplesPlayed(), (std::vector<SAMPLE*>{bankSample, gameEndSample}));
    EXPECT_EQ(playedSounds()[1].pitch, 1000);
    EXPECT_EQ(playedSounds()[1].loop, 0);
}

TEST_F(RiderMotion, SecondRiderRunningOutMakesTheFirstTheWinner)
{
    SKIP_WITHOUT_SCREEN();
    winner = 1;
    b->health = -7;
    step();
    EXPECT_EQ(b->health, 0);
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(winner, 0);
}

TEST_F(RiderMotion, BothAtZeroInOneStepTheSecondRiderWins)
{
    SKIP_WITHOUT_SCREEN();
    a->health = 0;
    b->health = -3;
    step();
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(winner, 1);
    EXPECT_EQ(a->health, 0);
    EXPECT_EQ(b->health, 0);
    EXPECT_EQ(samplesPlayed(), std::vector<SAMPLE*>{gameEndSample});
    EXPECT_EQ(stoppedSounds().size(), 1u);
}

TEST_F(RiderMotion, RunOutGoesOnWithoutDecidingTheGameAgain)
{
    SKIP_WITHOUT_SCREEN();
    a->health = 0;
    step();
    ASSERT_TRUE(gameOver);
    ASSERT_EQ(winner, 1);
    playedSounds().clear();
    stoppedSounds().clear();

    // The winner drifts into the bank with no say in it, down to 0 as well.
    b->health = 5;
    b->velocity = 40.0f;
    key[KEY_LEFT] = 1;
    for (int s = 0; s < 5; ++s)
        step();
    EXPECT_EQ(b->health, 0);
    EXPECT_EQ(winner, 1);
    EXPECT_TRUE(stoppedSounds().empty());
    for (SAMPLE* s : samplesPlayed())
        EXPECT_EQ(s, bankSample);
    EXPECT_FALSE(samplesPlayed().empty());
}

}  // namespace
