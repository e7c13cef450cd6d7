#include "rider_fixture.h"

namespace {

using RiderCollision = RiderTest;

TEST(RiderDeadZone, ClosePairsHaveNoSign)
{
    EXPECT_EQ(signWithDeadZone(100.0f, 149.9f, 50.0f), 0);
    EXPECT_EQ(signWithDeadZone(100.0f, 150.0f, 50.0f), -1);
    EXPECT_EQ(signWithDeadZone(150.0f, 100.0f, 50.0f), 1);
    EXPECT_EQ(signWithDeadZone(-80.0f, -80.0f, 20.0f), 0);
    EXPECT_EQ(signWithDeadZone(0.0f, -80.0f, 20.0f), 1);
    EXPECT_EQ(signWithDeadZone(19.0f, 0.0f, 20.0f), 0);
}

TEST_F(RiderCollision, ExactlyFiftyApartOrTwentyHigherDoNotTouch)
{
    a->x = 300.0f;
    b->x = 350.0f;
    a->velocity = 4.0f;
    b->velocity = -4.0f;
    resolveRiderCollision();
    EXPECT_EQ(a->velocity, 4.0f);
    EXPECT_EQ(b->x, 350.0f);

    b->x = 320.0f;
    a->height = 20.0f;
    resolveRiderCollision();
    EXPECT_EQ(a->velocity, 4.0f);
    EXPECT_EQ(b->x, 320.0f);
    EXPECT_EQ(prevRiderHeightSign, 1);
    EXPECT_TRUE(playedSounds().empty());

    b->height = 40.0f;
    resolveRiderCollision();
    EXPECT_EQ(prevRiderHeightSign, -1);
}

TEST_F(RiderCollision, EqualMassesSwapVelocitiesAndPartFiftyApart)
{
    a->x = 300.0f;
    b->x = 330.0f;
    a->velocity = 3.0f;
    b->velocity = -2.0f;
    resolveRiderCollision();
    EXPECT_EQ(a->velocity, -2.0f);
    EXPECT_EQ(b->velocity, 3.0f);
    EXPECT_EQ(a->x, 290.0f);
    EXPECT_EQ(b->x, 340.0f);
    EXPECT_EQ(a->health, 200);
    EXPECT_EQ(b->health, 200);
    ASSERT_EQ(playedSounds().size(), 1u);
    const PlayedSound& p = playedSounds()[0];
    EXPECT_TRUE(p.sample == bumpSamples[0] || p.sample == bumpSamples[1]);
    EXPECT_TRUE(allowedPitch(p.pitch));
    EXPECT_EQ(p.loop, 0);
}

TEST_F(RiderCollision, HeavierRiderIsDeflectedLess)
{
    a->x = 400.0f;
    b->x = 380.0f;
    a->mass = 100.0f;
    a->velocity = 5.0f;
    b->mass = 150.0f;
    b->velocity = -5.0f;
    resolveRiderCollision();
    EXPECT_EQ(a->velocity, -7.0f);
    EXPECT_EQ(b->velocity, 3.0f);
    EXPECT_EQ(a->x, 415.0f);
    EXPECT_EQ(b->x, 365.0f);
}

TEST_F(RiderCollision, RidersOnTheSameSpotPutTheFirstOnTheRight)
{
    a->x = 400.0f;
    b->x = 400.0f;
    resolveRiderCollision();
    EXPECT_EQ(a->x, 425.0f);
    EXPECT_EQ(b->x, 375.0f);
}

TEST_F(RiderCollision, DivedRidersBumpUnderWater)
{
    a->height = b->height = -80.0f;
    a->state = b->state = STATE_SUBMERGED;
    prevRiderHeightSign = 0;
    a->x = 500.0f;
    b->x = 510.0f;
    a->velocity = 1.0f;
    resolveRiderCollision();
    EXPECT_EQ(a->velocity, 0.0f);
    EXPECT_EQ(b->velocity, 1.0f);
    EXPECT_EQ(a->x, 480.0f);
    EXPECT_EQ(b->x, 530.0f);
}

TEST_F(RiderCollision, FirstRiderLandsStraightOnTheSecond)
{
    a->x = b->x = 400.0f;
    a->height = 40.0f;
    resolveRiderCollision();
    EXPECT_EQ(prevRiderHeightSign, 1);

    a->height = 10.0f;
    a->verticalSpeed = -12.0f;
    a->velocity = 2.0f;
    b->verticalSpeed = 3.0f;
    ticks = 500;
    const Rider upper = *a;
    resolveRiderCollision();
    EXPECT_EQ(b->x, 450.0f);
    EXPECT_EQ(b->velocity, 20.0f);
    EXPECT_EQ(b->verticalSpeed, 0.0f);
    EXPECT_EQ(b->health, 195);
    EXPECT_EQ(b->blinkUntil, 510u);
    EXPECT_EQ(a->x, upper.x);
    EXPECT_EQ(a->height, upper.height);
    EXPECT_EQ(a->velocity, upper.velocity);
    EXPECT_EQ(a->verticalSpeed, upper.verticalSpeed);
    EXPECT_EQ(a->health, upper.health);
    EXPECT_EQ(a->blinkUntil, 0u);
    ASSERT_EQ(samplesPlayed(), std::vector<SAMPLE*>{stompSample});
    EXPECT_TRUE(allowedPitch(playedSounds()[0].pitch));
    EXPECT_EQ(playedSounds()[0].loop, 0);
    EXPECT_EQ(prevRiderHeightSign, 0);
}

TEST_F(RiderCollision, SecondRiderLandsOnTheFirstAndPushesItLeft)
{
    a->x = 390.0f;
    b->x = 400.0f;
    a->verticalSpeed = -4.0f;
    prevRiderHeightSign = -1;
    resolveRiderCollision();
    EXPECT_EQ(a->x, 350.0f);
    EXPECT_EQ(a->velocity, -20.0f);
    EXPECT_EQ(a->verticalSpeed, -4.0f);
    EXPECT_EQ(a->health, 195);
    EXPECT_EQ(b->x, 400.0f);
    EXPECT_EQ(b->health, 200);
    EXPECT_EQ(samplesPlayed(), std::vector<SAMPLE*>{stompSample});
}

TEST_F(RiderCollision, RiderEmergingUnderAFloatingRiderIsHurt)
{
    SKIP_WITHOUT_SCREEN();
    key[KEY_DOWN] = 1;
    for (int i = 0; i <= 20; ++i)
        step();
    ASSERT_EQ(b->state, STATE_SUBMERGED);
    // Drifting under Rudko while dived touches nothing.
    a->x = 400.0f;
    b->x = 420.0f;
    step();
    EXPECT_EQ(b->x, 420.0f);
    EXPECT_EQ(a->health, 200);
    EXPECT_EQ(b->health, 200);
    playedSounds().clear();

    key[KEY_DOWN] = 0;
    step();
    EXPECT_EQ(b->state, STATE_SURFACE);
    EXPECT_EQ(b->x, 470.0f);
    EXPECT_EQ(b->velocity, 20.0f);
    EXPECT_EQ(b->health, 195);
    EXPECT_EQ(a->health, 200);
    EXPECT_EQ(samplesPlayed(), (std::vector<SAMPLE*>{emergeSample, stompSample}));
}

TEST_F(RiderCollision, LandingIntoABankBouncesInTheSameStep)
{
    SKIP_WITHOUT_SCREEN();
    a->x = 640.0f;
    b->x = 650.0f;
    prevRiderHeightSign = 1;
    step();
    EXPECT_EQ(b->x, 675.0f);
    EXPECT_EQ(b->velocity, -10.0f);
    EXPECT_EQ(b->health, 190);
    EXPECT_EQ(samplesPlayed(), (std::vector<SAMPLE*>{stompSample, bankSample}));
}

TEST_F(RiderCollision, LandingThatTakesTheLastHealthEndsTheGame)
{
    SKIP_WITHOUT_SCREEN();
    a->x = 400.0f;
    b->x = 380.0f;
    b->health = 5;
    prevRiderHeightSign = 1;
    step();
    EXPECT_EQ(b->health, 0);
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(winner, 0);
    EXPECT_EQ(samplesPlayed(), (std::vector<SAMPLE*>{stompSample, gameEndSample}));
}

TEST_F(RiderCollision, RidersStillTouchingBumpAgain)
{
    SKIP_WITHOUT_SCREEN();
    // Drifting apart, but close: the bump turns them towards each other.
    a->x = 300.0f;
    b->x = 320.0f;
    a->velocity = -1.0f;
    b->velocity = 1.0f;
    a->state = b->state = STATE_AIRBORNE;  // no drag
    a->verticalSpeed = b->verticalSpeed = 100.0f;
    a->height = b->height = 1000.0f;
    step();
    EXPECT_EQ(a->velocity, 1.0f);
    EXPECT_EQ(b->velocity, -1.0f);
    EXPECT_EQ(a->x, 286.0f);
    EXPECT_EQ(b->x, 334.0f);
    step();
    EXPECT_EQ(a->velocity, -1.0f);
    EXPECT_EQ(b->velocity, 1.0f);
    EXPECT_EQ(playedSounds().size(), 2u);
}

}  // namespace
