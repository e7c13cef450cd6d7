#include "obstacle_fixture.h"

namespace obstacle_test {
namespace {

struct ObstacleLaneStep : ObstacleWorld {
    ObstacleLanes lanes;
    BITMAP* canvas = nullptr;

    void SetUp() override
    {
        ObstacleWorld::SetUp();
        if (!ready)
            return;
        canvas = create_bitmap(800, 600);
        clear_to_color(canvas, 0);
    }
    void TearDown() override
    {
        if (canvas)
            destroy_bitmap(canvas);
        ObstacleWorld::TearDown();
    }

    Obstacle& put(int kind, float x, float y)
    {
        lanes.lanes[kind].push_back(make(kind, x, y));
        return lanes.lanes[kind].back();
    }
    void frame()
    {
        lanes.updateLowerLanes(canvas, pair);
        lanes.updateBridgeLane(canvas, pair);
        ++ticks;
    }
};

TEST_F(ObstacleLaneStep, LogOverlappingARiderForThirtyFramesHitsOnce)
{
    Rider& r = *riders[0];
    // Before its first move the log is just clear of the rider; then 40 frames of overlap.
    put(KIND_LOG, r.x - 100.0f, 350.0f);
    ticks = 2000;
    for (int i = 0; i < 30; ++i) {
        frame();
        EXPECT_EQ(r.health, 195) << "frame " << i;
        EXPECT_EQ(r.blinkUntil, 2010u);
    }
    EXPECT_EQ(heard(), std::vector<int>{KIND_LOG});
    EXPECT_EQ(lanes.lanes[KIND_LOG].front().y, 500.0f);
    EXPECT_EQ(riders[1]->health, 200);
}

TEST_F(ObstacleLaneStep, HitsAreTestedWhereTheObstacleHasMovedTo)
{
    riverSpeed = 2.0f;
    Rider& r = *riders[0];
    put(KIND_ROCK, r.x - 50.0f, 349.0f);
    lanes.updateLowerLanes(canvas, pair);
    EXPECT_EQ(r.health, 190);
    // Drawn where it was before the move.
    EXPECT_EQ(getpixel(canvas, static_cast<int>(r.x), 349), getpixel(strips[KIND_ROCK], 0, 0));
}

TEST_F(ObstacleLaneStep, OneRockHittingBothRidersHurtsBoth)
{
    riders[1]->x = riders[0]->x + 40.0f;
    put(KIND_ROCK, riders[0]->x - 30.0f, 450.0f);
    frame();
    EXPECT_EQ(riders[0]->health, 190);
    EXPECT_EQ(riders[1]->health, 190);
    EXPECT_EQ(heard(), (std::vector<int>{KIND_ROCK, KIND_ROCK}));
}

TEST_F(ObstacleLaneStep, BothRidersOnOneBurgerFeedsTheSecond)
{
    riders[1]->x = riders[0]->x;
    riders[0]->state = STATE_SUBMERGED;
    riders[1]->state = STATE_AIRBORNE;
    put(KIND_BURGER, riders[0]->x - 25.0f, 475.0f);
    frame();
    EXPECT_EQ(heard(), std::vector<int>{KIND_BURGER});
    EXPECT_EQ(riders[0]->mass, 100.0f);
    EXPECT_EQ(riders[1]->mass, 105.0f);
    EXPECT_TRUE(lanes.lanes[KIND_BURGER].empty());
    EXPECT_EQ(riders[0]->health, 200);
    EXPECT_EQ(riders[0]->blinkUntil, 0u);
}

TEST_F(ObstacleLaneStep, BurgerGoesToTheOnlyRiderThatTouchedIt)
{
    put(KIND_BURGER, riders[0]->x - 25.0f, 475.0f);
    frame();
    EXPECT_EQ(riders[0]->mass, 105.0f);
    EXPECT_EQ(riders[1]->mass, 100.0f);
}

TEST_F(ObstacleLaneStep, MassIsCappedAtOneHundredFifty)
{
    const float before[] = {148.0f, 150.0f, 147.5f, 144.0f};
    const float after[] = {150.0f, 150.0f, 150.0f, 149.0f};
    for (int i = 0; i < 4; ++i) {
        riders[0]->mass = before[i];
        put(KIND_BURGER, riders[0]->x - 25.0f, 475.0f);
        frame();
        EXPECT_EQ(riders[0]->mass, after[i]) << before[i];
    }
}

TEST_F(ObstacleLaneStep, BurgerEatenMidLaneLeavesItsNeighboursStepOnce)
{
    riverSpeed = 3.0f;
    Rider& r = *riders[0];
    put(KIND_BURGER, 600.0f, 560.0f);
    put(KIND_BURGER, r.x - 25.0f, 470.0f);
    put(KIND_BURGER, 600.0f, 100.0f);
    frame();
    ASSERT_EQ(lanes.lanes[KIND_BURGER].size(), 2u);
    EXPECT_EQ(lanes.lanes[KIND_BURGER].front().y, 563.0f);
    EXPECT_EQ(lanes.lanes[KIND_BURGER].back().y, 103.0f);
    EXPECT_EQ(r.mass, 105.0f);
    const int burger = colourOf(KIND_BURGER, 0);
    EXPECT_EQ(getpixel(canvas, 600, 560), burger);
    EXPECT_EQ(getpixel(canvas, 600, 100), burger);
    // The eaten one still shows in the frame it is eaten.
    EXPECT_EQ(getpixel(canvas, static_cast<int>(r.x), 470), burger);
    EXPECT_EQ(heard(), std::vector<int>{KIND_BURGER});
}

TEST_F(ObstacleLaneStep, EatingTheLastBurgerEndsTheWalk)
{
    put(KIND_BURGER, 600.0f, 300.0f);
    put(KIND_BURGER, riders[0]->x - 25.0f, 475.0f);
    frame();
    ASSERT_EQ(lanes.lanes[KIND_BURGER].size(), 1u);
    EXPECT_EQ(lanes.lanes[KIND_BURGER].front().x, 600.0f);
    frame();
    EXPECT_EQ(lanes.lanes[KIND_BURGER].size(), 1u);
}

TEST_F(ObstacleLaneStep, RockIsCulledOnlyOnceBeyondAWholeHeightBelowTheScreen)
{
    riverSpeed = 0.5f;
    put(KIND_ROCK, 300.0f, 699.5f);
    put(KIND_ROCK, 300.0f, 400.0f);
    frame();
    ASSERT_EQ(lanes.lanes[KIND_ROCK].size(), 2u);
    EXPECT_EQ(lanes.lanes[KIND_ROCK].front().y, 700.0f);
    frame();
    ASSERT_EQ(lanes.lanes[KIND_ROCK].size(), 1u);
    EXPECT_EQ(lanes.lanes[KIND_ROCK].front().y, 401.0f);
}

TEST_F(ObstacleLaneStep, CullingStopsAtTheFirstObstacleStillOnTheRiver)
{
    put(KIND_LOG, 300.0f, 800.0f);
    put(KIND_LOG, 300.0f, 795.0f);
    put(KIND_LOG, 300.0f, 300.0f);
    put(KIND_LOG, 300.0f, 900.0f);  // out of order on purpose: only the front is looked at
    frame();
    ASSERT_EQ(lanes.lanes[KIND_LOG].size(), 2u);
    EXPECT_EQ(lanes.lanes[KIND_LOG].front().y, 305.0f);
}

TEST_F(ObstacleLaneStep, NothingTouchesRidersOnceTheGameIsDecided)
{
    gameOver = true;
    riverSpeed = 10.0f;
    Rider& r = *riders[0];
    riders[1]->x = r.x;
    put(KIND_BURGER, r.x - 25.0f, 400.0f);
    put(KIND_ROCK, r.x - 50.0f, 400.0f);
    put(KIND_BRIDGE, 0.0f, 470.0f);
    r.state = riders[1]->state = STATE_AIRBORNE | STATE_SURFACE;
    int frames = 0;
    while (!lanes.lanes[KIND_BURGER].empty()) {
        const Obstacle& burger = lanes.lanes[KIND_BURGER].front();
        EXPECT_EQ(burger.hitRider[0] | burger.hitRider[1], 0);
        frame();
        ++frames;
        ASSERT_LT(frames, 100);
    }
    // From y 400 at 10 px a frame, past 650 after the 26th move.
    EXPECT_EQ(frames, 26);
    EXPECT_EQ(r.mass, 100.0f);
    EXPECT_EQ(r.health, 200);
    EXPECT_EQ(riders[1]->health, 200);
    EXPECT_TRUE(played().empty());
}

TEST_F(ObstacleLaneStep, LowerLanesAreLayeredRocksLogsBurgersThenShadows)
{
    BITMAP* shadow = create_bitmap(800, 30);
    const int dark = makecol(1, 2, 3);
    clear_to_color(shadow, dark);
    bridgeShadowBitmap = shadow;
    put(KIND_ROCK, 300.0f, 100.0f);
    put(KIND_LOG, 300.0f, 120.0f);
    put(KIND_BURGER, 300.0f, 140.0f);
    put(KIND_BRIDGE, 0.0f, 150.0f);
    lanes.updateLowerLanes(canvas, pair);
    EXPECT_EQ(getpixel(canvas, 350, 110), getpixel(strips[KIND_ROCK], 0, 0));
    EXPECT_EQ(getpixel(canvas, 450, 130), getpixel(strips[KIND_LOG], 0, 0));
    EXPECT_EQ(getpixel(canvas, 310, 165), getpixel(strips[KIND_BURGER], 0, 0));
    EXPECT_EQ(getpixel(canvas, 310, 170), dark);
    EXPECT_EQ(lanes.lanes[KIND_BRIDGE].front().y, 150.0f);  // shadows first, bridges later
    destroy_bitmap(shadow);
}

TEST_F(ObstacleLaneStep, RockAndLogHitsComeBeforeTheBridgeHit)
{
    Rider& r = *riders[0];
    r.state = STATE_AIRBORNE | STATE_SURFACE;
    put(KIND_BRIDGE, 0.0f, 470.0f);
    put(KIND_LOG, r.x - 100.0f, 450.0f);
    put(KIND_ROCK, r.x - 50.0f, 450.0f);
    frame();
    EXPECT_EQ(heard(), (std::vector<int>{KIND_ROCK, KIND_LOG, KIND_BRIDGE}));
    EXPECT_EQ(r.health, 200 - 10 - 5 - 10);
}

TEST_F(ObstacleLaneStep, BridgeShadowLiesTwentyPixelsBelowItsBridge)
{
    BITMAP* shadow = create_bitmap(800, 50);
    const int dark = makecol(1, 2, 3);
    clear_to_color(shadow, dark);
    bridgeShadowBitmap = shadow;
    riverSpeed = 14.8f;
    put(KIND_BRIDGE, 0.0f, 200.7f);
    put(KIND_BRIDGE, 0.0f, -60.5f);  // -40.5 truncates toward zero: rows -40 to 9
    lanes.updateLowerLanes(canvas, pair);
    EXPECT_EQ(getpixel(canvas, 400, 219), 0);
    EXPECT_EQ(getpixel(canvas, 400, 220), dark);
    EXPECT_EQ(getpixel(canvas, 0, 269), dark);
    EXPECT_EQ(getpixel(canvas, 799, 269), dark);
    EXPECT_EQ(getpixel(canvas, 400, 270), 0);
    EXPECT_EQ(getpixel(canvas, 400, 9), dark);
    EXPECT_EQ(getpixel(canvas, 400, 10), 0);

    lanes.updateBridgeLane(canvas, pair);
    const int bridge = colourOf(KIND_BRIDGE, 0);
    EXPECT_EQ(getpixel(canvas, 400, 200), bridge);
    EXPECT_EQ(getpixel(canvas, 400, 259), bridge);
    EXPECT_EQ(getpixel(canvas, 400, 260), dark);
    EXPECT_EQ(getpixel(canvas, 400, 199), 0);
    destroy_bitmap(shadow);
}

TEST_F(ObstacleLaneStep, MissingShadowImageDrawsNoShadow)
{
    bridgeShadowBitmap = nullptr;
    put(KIND_BRIDGE, 0.0f, 100.0f);
    lanes.updateLowerLanes(canvas, pair);
    EXPECT_EQ(getpixel(canvas, 400, 130), 0);
    lanes.updateBridgeLane(canvas, pair);
    EXPECT_EQ(getpixel(canvas, 400, 130), colourOf(KIND_BRIDGE, 0));
}

}  // namespace
}  // namespace obstacle_test
