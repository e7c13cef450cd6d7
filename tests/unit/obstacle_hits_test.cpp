#include "obstacle_fixture.h"

namespace obstacle_test {
namespace {

using ObstacleHits = ObstacleWorld;

// A frame centred on the rider's box: centre (rider x, 500).
Obstacle centredOn(int kind, const Rider& rider)
{
    const ObstacleKind& k = obstacleKinds[kind];
    return ObstacleWorld::make(kind, rider.x - k.sprite.frameWidth / 2,
                               500.0f - k.sprite.frameHeight / 2);
}

TEST_F(ObstacleHits, EachKindTouchesOnlyRidersInItsStates)
{
    Rider& r = *riders[0];
    r.x = 400.0f;
    const uint8_t states[4] = {1, 2, 4, 6};
    // Rows: rider state; columns: rock, log, burger, bridge.
    const bool touches[4][4] = {
        {true, false, true, false},
        {true, true, true, false},
        {false, false, true, true},
        {true, true, true, true},
    };
    for (int s = 0; s < 4; ++s) {
        for (int kind = 0; kind < 4; ++kind) {
            SCOPED_TRACE(testing::Message() << "state " << int(states[s]) << " kind " << kind);
            r.state = states[s];
            Obstacle o = centredOn(kind, r);
            if (kind == KIND_BRIDGE)
                o.x = 0.0f;
            EXPECT_EQ(o.hits(r), touches[s][kind]);
            EXPECT_EQ(o.hitRider[0], touches[s][kind] ? 1 : 0);
            EXPECT_EQ(o.hitRider[1], 0);
        }
    }
}

TEST_F(ObstacleHits, TouchesEachRiderOnceInItsLife)
{
    Rider& a = *riders[0];
    Rider& b = *riders[1];
    b.x = a.x;
    Obstacle o = centredOn(KIND_BURGER, a);
    EXPECT_TRUE(o.hits(a));
    EXPECT_FALSE(o.hits(a));
    EXPECT_TRUE(o.hits(b));
    EXPECT_FALSE(o.hits(b));
    EXPECT_EQ(o.hitRider[0], 1);
    EXPECT_EQ(o.hitRider[1], 1);
}

TEST_F(ObstacleHits, RiderComingDownOverARockIsHitThen)
{
    Rider& r = *riders[0];
    Obstacle rock = centredOn(KIND_ROCK, r);
    r.state = STATE_AIRBORNE;
    EXPECT_FALSE(rock.hits(r));
    EXPECT_EQ(rock.hitRider[0], 0);
    r.state = STATE_AIRBORNE | STATE_SURFACE;
    EXPECT_TRUE(rock.hits(r));
    r.state = STATE_SURFACE;
    EXPECT_FALSE(rock.hits(r));
}

TEST_F(ObstacleHits, SideLimitIsStrictAtSeventyFivePixels)
{
    Rider& r = *riders[0];
    r.x = 400.0f;
    const struct {
        float centre;
        bool touch;
    } cases[] = {{475.0f, false}, {474.9f, true}, {325.0f, false}, {325.1f, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.centre);
        Obstacle rock = make(KIND_ROCK, c.centre - 50.0f, 450.0f);
        EXPECT_EQ(rock.hits(r), c.touch);
    }
}

TEST_F(ObstacleHits, VerticalLimitIsStrictAtHalfHeightPlusFifty)
{
    Rider& r = *riders[0];
    const struct {
        float y;
        bool touch;
    } cases[] = {{350.0f, false}, {350.5f, true}, {550.0f, false}, {549.5f, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.y);
        Obstacle rock = make(KIND_ROCK, r.x - 50.0f, c.y);
        EXPECT_EQ(rock.hits(r), c.touch);
    }
    // A burger: 25 + 50 either side of its centre.
    Obstacle low = make(KIND_BURGER, r.x - 25.0f, 550.0f);
    EXPECT_FALSE(low.hits(r));
    Obstacle justIn = make(KIND_BURGER, r.x - 25.0f, 549.9f);
    EXPECT_TRUE(justIn.hits(r));
}

TEST_F(ObstacleHits, BridgeReachesRidersAnywhereAcrossTheScreen)
{
    Rider& r = *riders[0];
    r.state = STATE_AIRBORNE;
    const struct {
        float x;
        bool touch;
    } cases[] = {{-25.0f, false}, {-24.9f, true}, {0.0f, true},
                 {824.9f, true}, {825.0f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        r.x = c.x;
        Obstacle bridge = make(KIND_BRIDGE, 0.0f, 500.0f - BRIDGE_HEIGHT / 2);
        EXPECT_EQ(bridge.hits(r), c.touch);
    }
}

TEST_F(ObstacleHits, HitPlaysBlinksAndTakesHealthBelowZero)
{
    ticks = 4242;
    Rider& r = *riders[1];
    r.health = 5;
    Obstacle rock = make(KIND_ROCK, 0, 0);
    applyHit(1, rock, pair);
    EXPECT_EQ(r.health, -5);
    EXPECT_EQ(r.blinkUntil, 4252u);
    EXPECT_EQ(heard(), std::vector<int>{KIND_ROCK});
    EXPECT_EQ(riders[0]->health, 200);
    EXPECT_EQ(riders[0]->blinkUntil, 0u);
}

TEST_F(ObstacleHits, MovesWithTheRiverPlusItsOwnSpeed)
{
    riverSpeed = 14.8f;
    Obstacle log = make(KIND_LOG, 100.0f, -100.0f);
    Obstacle rock = make(KIND_ROCK, 100.0f, -100.0f);
    log.move();
    rock.move();
    EXPECT_EQ(log.y, static_cast<float>((14.8f + 5.0) + -100.0));
    EXPECT_EQ(rock.y, static_cast<float>(14.8f + -100.0));
    EXPECT_EQ(log.x, 100.0f);
}

TEST_F(ObstacleHits, GoneOnlyOnceAWholeHeightBelowTheScreen)
{
    Obstacle rock = make(KIND_ROCK, 200.0f, 700.0f);
    EXPECT_FALSE(rock.isGone());
    rock.y = 700.0001f;
    EXPECT_TRUE(rock.isGone());
    Obstacle burger = make(KIND_BURGER, 200.0f, 650.0f);
    EXPECT_FALSE(burger.isGone());
    burger.y = 650.5f;
    EXPECT_TRUE(burger.isGone());
}

TEST_F(ObstacleHits, DrawsItsPhaseFrameAtItsTruncatedCorner)
{
    BITMAP* canvas = create_bitmap(800, 600);
    clear_to_color(canvas, 0);
    ticks = 1003;  // 1003 - phase 1000 = 3 ticks: the rock's second frame
    Obstacle rock = make(KIND_ROCK, 120.9f, 40.7f, 1000);
    rock.draw(canvas);
    EXPECT_EQ(getpixel(canvas, 120, 40), colourOf(KIND_ROCK, 1));
    EXPECT_EQ(getpixel(canvas, 219, 139), colourOf(KIND_ROCK, 1));
    EXPECT_EQ(getpixel(canvas, 119, 40), 0);
    EXPECT_EQ(getpixel(canvas, 120, 39), 0);
    EXPECT_EQ(getpixel(canvas, 220, 139), 0);
    destroy_bitmap(canvas);
}

}  // namespace
}  // namespace obstacle_test
