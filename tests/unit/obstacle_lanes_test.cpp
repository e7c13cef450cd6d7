// The obstacles' part of a pass on a world built in code: lanes moved and tested against the
// riders from the lowest upwards, rocks first and bridges last, what the frame is to show,
// and the culling at the bottom of the screen.
#include "classic/obstacle.h"
#include "world_fixture.h"

namespace world_test {
namespace {

using ObstacleLaneStep = RiverTest;

TEST_F(ObstacleLaneStep, LogOverlappingARiderForThirtyPassesHitsOnce)
{
    // Before its first move the log is just clear of the rider; then 40 passes of overlap.
    put(KIND_LOG, a.x - 100.0f, 350.0f);
    w.ticks = 2000;
    for (int i = 0; i < 30; ++i) {
        flow();
        EXPECT_EQ(a.health, 195) << "pass " << i;
        EXPECT_EQ(a.blinkUntil, 2010u);
    }
    EXPECT_EQ(sounds, "log");
    EXPECT_EQ(w.lanes[KIND_LOG].front().y, 500.0f);
    EXPECT_EQ(b.health, 200);
}

TEST_F(ObstacleLaneStep, HitsAreTestedWhereTheObstacleHasMovedToAndShownWhereItWas)
{
    w.riverSpeed = 2.0f;
    put(KIND_ROCK, a.x - 50.0f, 349.0f);
    flow();
    EXPECT_EQ(a.health, 190);
    ASSERT_EQ(w.shownLower.size(), 1u);
    EXPECT_EQ(w.shownLower[0].y, 349.0f);
    EXPECT_EQ(w.shownLower[0].kind, KIND_ROCK);
    // The frame shows the rider as it was before the rock touched it.
    EXPECT_EQ(w.blinkBeforeLanes[0], 0u);
    EXPECT_EQ(a.blinkUntil, 1010u);
}

TEST_F(ObstacleLaneStep, OneRockHittingBothRidersHurtsBoth)
{
    b.x = a.x + 40.0f;
    put(KIND_ROCK, a.x - 30.0f, 450.0f);
    flow();
    EXPECT_EQ(a.health, 190);
    EXPECT_EQ(b.health, 190);
    EXPECT_EQ(sounds, "rock rock");
}

// A burger goes to the one rider that touched it, to the second when both did, and adds 5
// to the mass up to 150; it is eaten, hurts no one, and is heard once.
TEST_F(ObstacleLaneStep, BurgerFeedsOneRiderUpToOneHundredFifty)
{
    const struct {
        uint8_t stateA, stateB;
        float bx, massA, massAAfter, massBAfter;
    } cases[] = {
        {STATE_SUBMERGED, STATE_AIRBORNE, 250.0f, 100.0f, 100.0f, 105.0f},
        {STATE_SURFACE, STATE_SURFACE, 550.0f, 100.0f, 105.0f, 100.0f},
        {STATE_SURFACE, STATE_SURFACE, 550.0f, 148.0f, 150.0f, 100.0f},
        {STATE_SURFACE, STATE_SURFACE, 550.0f, 150.0f, 150.0f, 100.0f},
        {STATE_SURFACE, STATE_SURFACE, 550.0f, 147.5f, 150.0f, 100.0f},
        {STATE_SURFACE, STATE_SURFACE, 550.0f, 144.0f, 149.0f, 100.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mass " << c.massA << " Berto at " << c.bx);
        sounds.clear();
        a.state = c.stateA;
        b.state = c.stateB;
        b.x = c.bx;
        a.mass = c.massA;
        b.mass = 100.0f;
        put(KIND_BURGER, a.x - 25.0f, 475.0f);
        flow();
        EXPECT_EQ(a.mass, c.massAAfter);
        EXPECT_EQ(b.mass, c.massBAfter);
        EXPECT_TRUE(w.lanes[KIND_BURGER].empty());
        EXPECT_EQ(a.health, 200);
        EXPECT_EQ(a.blinkUntil, 0u);
        EXPECT_EQ(sounds, "burger");
    }
}

// A burger eaten in the middle of its lane leaves the others to move once each, and still
// shows in the pass it is eaten; eating the last one ends the walk through the lane.
TEST_F(ObstacleLaneStep, BurgerEatenMidLaneLeavesItsNeighboursStepOnceAndStillShows)
{
    w.riverSpeed = 3.0f;
    put(KIND_BURGER, 600.0f, 560.0f);
    put(KIND_BURGER, a.x - 25.0f, 470.0f);
    put(KIND_BURGER, 600.0f, 100.0f);
    flow();
    ASSERT_EQ(w.lanes[KIND_BURGER].size(), 2u);
    EXPECT_EQ(w.lanes[KIND_BURGER].front().y, 563.0f);
    EXPECT_EQ(w.lanes[KIND_BURGER].back().y, 103.0f);
    EXPECT_EQ(a.mass, 105.0f);
    ASSERT_EQ(w.shownLower.size(), 3u);
    EXPECT_EQ(w.shownLower[0].y, 560.0f);
    EXPECT_EQ(w.shownLower[1].x, a.x - 25.0f);
    EXPECT_EQ(w.shownLower[1].y, 470.0f);
    EXPECT_EQ(w.shownLower[2].y, 100.0f);
    EXPECT_EQ(sounds, "burger");

    w.lanes[KIND_BURGER].pop_back();
    put(KIND_BURGER, a.x - 25.0f, 475.0f);
    flow();
    ASSERT_EQ(w.lanes[KIND_BURGER].size(), 1u);
    EXPECT_EQ(w.lanes[KIND_BURGER].front().x, 600.0f);
    flow();
    EXPECT_EQ(w.lanes[KIND_BURGER].size(), 1u);
}

// What left the screen is culled from the front of its lane once a whole height below it;
// the culling stops at the first obstacle still on the river.
TEST_F(ObstacleLaneStep, CullingTakesFromTheFrontWhatIsAWholeHeightBelowTheScreen)
{
    w.riverSpeed = 0.5f;
    put(KIND_ROCK, 300.0f, 699.5f);
    put(KIND_ROCK, 300.0f, 400.0f);
    put(KIND_LOG, 300.0f, 800.0f);
    put(KIND_LOG, 300.0f, 795.0f);
    put(KIND_LOG, 300.0f, 300.0f);
    put(KIND_LOG, 300.0f, 900.0f); // out of order on purpose: only the front is looked at
    flow();
    ASSERT_EQ(w.lanes[KIND_ROCK].size(), 2u);
    EXPECT_EQ(w.lanes[KIND_ROCK].front().y, 700.0f);
    ASSERT_EQ(w.lanes[KIND_LOG].size(), 2u);
    EXPECT_EQ(w.lanes[KIND_LOG].front().y, 305.5f);
    flow();
    ASSERT_EQ(w.lanes[KIND_ROCK].size(), 1u);
    EXPECT_EQ(w.lanes[KIND_ROCK].front().y, 401.0f);
}

TEST_F(ObstacleLaneStep, NothingTouchesRidersOnceTheGameIsDecided)
{
    w.gameOver = true;
    w.riverSpeed = 10.0f;
    b.x = a.x;
    put(KIND_BURGER, a.x - 25.0f, 400.0f);
    put(KIND_ROCK, a.x - 50.0f, 400.0f);
    put(KIND_BRIDGE, 0.0f, 470.0f);
    a.state = b.state = STATE_AIRBORNE | STATE_SURFACE;
    int passes = 0;
    while (!w.lanes[KIND_BURGER].empty()) {
        const ObstacleState& burger = w.lanes[KIND_BURGER].front();
        EXPECT_EQ(burger.hitRider[0] | burger.hitRider[1], 0);
        flow();
        ++passes;
        ASSERT_LT(passes, 100);
    }
    // From y 400 at 10 px a pass, past 650 after the 26th move.
    EXPECT_EQ(passes, 26);
    EXPECT_EQ(a.mass, 100.0f);
    EXPECT_EQ(a.health, 200);
    EXPECT_EQ(b.health, 200);
    EXPECT_EQ(sounds, "");
}

// Rocks, logs and burgers are shown in that order, then the bridges where they stood before
// they moved (their shadows are drawn from there); the hits come in the same order.
TEST_F(ObstacleLaneStep, RocksLogsBurgersThenBridges)
{
    a.state = STATE_AIRBORNE | STATE_SURFACE;
    w.riverSpeed = 14.8f;
    put(KIND_BRIDGE, 0.0f, 470.0f);
    put(KIND_BURGER, 300.0f, 140.0f);
    put(KIND_LOG, a.x - 100.0f, 450.0f);
    put(KIND_ROCK, a.x - 50.0f, 450.0f);
    flow();
    ASSERT_EQ(w.shownLower.size(), 3u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(w.shownLower[k].kind, k) << k;
    ASSERT_EQ(w.shownBridges.size(), 1u);
    EXPECT_EQ(w.shownBridges[0].y, 470.0f);
    EXPECT_EQ(w.lanes[KIND_BRIDGE].front().y, 484.8f);
    EXPECT_EQ(sounds, "rock log bridge");
    EXPECT_EQ(a.health, 200 - 10 - 5 - 10);
}

} // namespace
} // namespace world_test
