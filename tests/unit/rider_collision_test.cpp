// The riders meeting: bumps side by side and landings on each other, on a world built in code.
#include "world_fixture.h"

namespace world_test {
namespace {

using RiderCollision = WorldTest;

TEST(RiderDeadZone, ClosePairsHaveNoSign)
{
    EXPECT_EQ(rules::signWithDeadZone(100.0f, 149.9f, 50.0f), 0);
    EXPECT_EQ(rules::signWithDeadZone(100.0f, 150.0f, 50.0f), -1);
    EXPECT_EQ(rules::signWithDeadZone(150.0f, 100.0f, 50.0f), 1);
    EXPECT_EQ(rules::signWithDeadZone(-80.0f, -80.0f, 20.0f), 0);
    EXPECT_EQ(rules::signWithDeadZone(0.0f, -80.0f, 20.0f), 1);
    EXPECT_EQ(rules::signWithDeadZone(19.0f, 0.0f, 20.0f), 0);
}

// Riders side by side: exactly 50 apart or 20 higher they do not touch; closer, they bump
// elastically (equal masses swap speeds, the heavier is deflected less, dived riders bump
// too) and part 50 apart about their middle, the first on the right when on the same spot.
TEST_F(RiderCollision, BumpsSideBySide)
{
    const struct {
        float ax, bx, av, bv, bMass, ah, bh;
        float axAfter, bxAfter, avAfter, bvAfter;
        int heightSign;
        const char* sounds;
    } cases[] = {
        {300, 350, 4, -4, 100, 0, 0, 300, 350, 4, -4, 0, ""},
        {300, 320, 4, -4, 100, 20, 0, 300, 320, 4, -4, 1, ""},
        {300, 320, 4, -4, 100, 20, 40, 300, 320, 4, -4, -1, ""},
        {300, 330, 3, -2, 100, 0, 0, 290, 340, -2, 3, 0, "bump"},
        {400, 380, 5, -5, 150, 0, 0, 415, 365, -7, 3, 0, "bump"},
        {400, 400, 0, 0, 100, 0, 0, 425, 375, 0, 0, 0, "bump"},
        {500, 510, 1, 0, 100, -80, -80, 480, 530, 0, 1, 0, "bump"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ax << ", " << c.bx << " heights " << c.ah << ", " << c.bh);
        sounds.clear();
        w.prevRiderHeightSign = 0;
        a.x = c.ax;
        b.x = c.bx;
        a.velocity = c.av;
        b.velocity = c.bv;
        b.mass = c.bMass;
        a.height = c.ah;
        b.height = c.bh;
        rule([&](Contest& contest, Cues& cues) { rules::collide(a, b, contest, cues); });
        EXPECT_EQ(a.x, c.axAfter);
        EXPECT_EQ(b.x, c.bxAfter);
        EXPECT_EQ(a.velocity, c.avAfter);
        EXPECT_EQ(b.velocity, c.bvAfter);
        EXPECT_EQ(a.health, 200);
        EXPECT_EQ(b.health, 200);
        EXPECT_EQ(w.prevRiderHeightSign, c.heightSign);
        EXPECT_EQ(sounds, c.sounds);
    }
}

TEST_F(RiderCollision, FirstRiderLandsStraightOnTheSecond)
{
    auto collide = [&] { rule([&](Contest& c, Cues& cues) { rules::collide(a, b, c, cues); }); };
    a.x = b.x = 400.0f;
    a.height = 40.0f;
    collide();
    EXPECT_EQ(w.prevRiderHeightSign, 1);

    a.height = 10.0f;
    a.verticalSpeed = -12.0f;
    a.velocity = 2.0f;
    b.verticalSpeed = 3.0f;
    w.ticks = 500;
    const RiderState upper = a;
    RiderState lower = b;
    collide();
    lower.x = 450.0f;
    lower.velocity = 20.0f;
    lower.verticalSpeed = 0.0f;
    lower.health = 195;
    lower.blinkUntil = 510;
    EXPECT_EQ(describe(b), describe(lower));
    EXPECT_EQ(describe(a), describe(upper));
    EXPECT_EQ(sounds, "stomp");
    EXPECT_EQ(w.prevRiderHeightSign, 0);
}

TEST_F(RiderCollision, SecondRiderLandsOnTheFirstAndPushesItLeft)
{
    a.x = 390.0f;
    b.x = 400.0f;
    a.verticalSpeed = -4.0f;
    w.prevRiderHeightSign = -1;
    const RiderState upper = b;
    rule([&](Contest& c, Cues& cues) { rules::collide(a, b, c, cues); });
    EXPECT_EQ(a.x, 350.0f);
    EXPECT_EQ(a.velocity, -20.0f);
    EXPECT_EQ(a.verticalSpeed, -4.0f);
    EXPECT_EQ(a.health, 195);
    EXPECT_EQ(describe(b), describe(upper));
    EXPECT_EQ(sounds, "stomp");
}

TEST_F(RiderCollision, RiderEmergingUnderAFloatingRiderIsHurt)
{
    for (int i = 0; i <= 20; ++i)
        step(NONE, ACTION);
    // A dived rider loses the surface bit.
    ASSERT_EQ(b.state, STATE_SUBMERGED);
    EXPECT_EQ(b.height, -80.0f);
    // Drifting under Rudko while dived touches nothing.
    a.x = 400.0f;
    b.x = 420.0f;
    step(NONE, ACTION);
    EXPECT_EQ(b.x, 420.0f);
    EXPECT_EQ(a.health, 200);
    EXPECT_EQ(b.health, 200);
    EXPECT_EQ(sounds, "dive");

    step();
    EXPECT_EQ(b.state, STATE_SURFACE);
    EXPECT_EQ(b.x, 470.0f);
    EXPECT_EQ(b.velocity, 20.0f);
    EXPECT_EQ(b.health, 195);
    EXPECT_EQ(a.health, 200);
    EXPECT_EQ(sounds, "dive emerge stomp");
}

// Rudko was higher the step before and comes down on Berto: the shove can carry Berto into
// the bank in the same step, or take the last of its health.
TEST_F(RiderCollision, LandingShovesIntoTheBankOrEndsTheGame)
{
    a.x = 640.0f;
    b.x = 650.0f;
    w.prevRiderHeightSign = 1;
    step();
    EXPECT_EQ(b.x, 675.0f);
    EXPECT_EQ(b.velocity, -10.0f);
    EXPECT_EQ(b.health, 190);
    EXPECT_EQ(sounds, "stomp bank");

    sounds.clear();
    a.x = 400.0f;
    b.x = 380.0f;
    b.velocity = 0.0f;
    b.health = 5;
    w.prevRiderHeightSign = 1;
    step();
    EXPECT_EQ(b.health, 0);
    EXPECT_TRUE(w.gameOver);
    EXPECT_EQ(w.winner, 0);
    EXPECT_EQ(sounds, "stomp stop-music game-end");
}

TEST_F(RiderCollision, RidersStillTouchingBumpAgain)
{
    // Drifting apart, but close: the bump turns them towards each other.
    a.x = 300.0f;
    b.x = 320.0f;
    a.velocity = -1.0f;
    b.velocity = 1.0f;
    a.state = b.state = STATE_AIRBORNE; // no drag
    a.verticalSpeed = b.verticalSpeed = 100.0f;
    a.height = b.height = 1000.0f;
    step();
    EXPECT_EQ(a.velocity, 1.0f);
    EXPECT_EQ(b.velocity, -1.0f);
    EXPECT_EQ(a.x, 286.0f);
    EXPECT_EQ(b.x, 334.0f);
    step();
    EXPECT_EQ(a.velocity, -1.0f);
    EXPECT_EQ(b.velocity, 1.0f);
    EXPECT_EQ(sounds, "bump bump");
}

} // namespace
} // namespace world_test
