// One obstacle and the riders of a world: what it touches, what a hit does, how it moves and
// leaves the river, and how it is drawn.
#include "classic/obstacle.h"
#include "classic/live.h"
#include "world_fixture.h"

namespace world_test {
namespace {

using ObstacleHits = RiverTest;

// A frame centred on the rider's box: centre (rider x, 500).
Obstacle centredOn(int kind, const RiderState& rider)
{
    const ObstacleKind& k = obstacleKinds[kind];
    return RiverTest::make(kind, rider.x - k.sprite.frameWidth / 2, 500.0f - k.sprite.frameHeight / 2);
}

TEST_F(ObstacleHits, EachKindTouchesOnlyRidersInItsStates)
{
    a.x = 400.0f;
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
            a.state = states[s];
            Obstacle o = centredOn(kind, a);
            if (kind == KIND_BRIDGE)
                o.x = 0.0f;
            EXPECT_EQ(rules::touches(o, a), touches[s][kind]);
            EXPECT_EQ(o.hitRider[0], touches[s][kind] ? 1 : 0);
            EXPECT_EQ(o.hitRider[1], 0);
        }
    }
}

// A rider coming down over a rock is missed in the air and touched once low enough; each
// rider is touched once in the obstacle's life.
TEST_F(ObstacleHits, TouchesEachRiderOnceInItsLife)
{
    b.x = a.x;
    Obstacle rock = centredOn(KIND_ROCK, a);
    a.state = STATE_AIRBORNE;
    EXPECT_FALSE(rules::touches(rock, a));
    EXPECT_EQ(rock.hitRider[0], 0);
    a.state = STATE_AIRBORNE | STATE_SURFACE;
    EXPECT_TRUE(rules::touches(rock, a));
    a.state = STATE_SURFACE;
    EXPECT_FALSE(rules::touches(rock, a));
    EXPECT_TRUE(rules::touches(rock, b));
    EXPECT_FALSE(rules::touches(rock, b));
    EXPECT_EQ(rock.hitRider[0], 1);
    EXPECT_EQ(rock.hitRider[1], 1);
}

// The box test is strict on every side: 75 pixels across for a rock, half its height plus
// 50 up and down, and a bridge reaches riders anywhere across the screen.
TEST_F(ObstacleHits, EveryEdgeOfTheBoxIsStrict)
{
    const struct {
        int kind;
        float x, y, riderX;
        bool touch;
    } cases[] = {
        {KIND_ROCK, 425.0f, 450.0f, 400.0f, false},  {KIND_ROCK, 424.9f, 450.0f, 400.0f, true},
        {KIND_ROCK, 275.0f, 450.0f, 400.0f, false},  {KIND_ROCK, 275.1f, 450.0f, 400.0f, true},
        {KIND_ROCK, 200.0f, 350.0f, 250.0f, false},  {KIND_ROCK, 200.0f, 350.5f, 250.0f, true},
        {KIND_ROCK, 200.0f, 550.0f, 250.0f, false},  {KIND_ROCK, 200.0f, 549.5f, 250.0f, true},
        {KIND_BURGER, 225.0f, 550.0f, 250.0f, false}, {KIND_BURGER, 225.0f, 549.9f, 250.0f, true},
        {KIND_BRIDGE, 0.0f, 470.0f, -25.0f, false},  {KIND_BRIDGE, 0.0f, 470.0f, -24.9f, true},
        {KIND_BRIDGE, 0.0f, 470.0f, 0.0f, true},     {KIND_BRIDGE, 0.0f, 470.0f, 824.9f, true},
        {KIND_BRIDGE, 0.0f, 470.0f, 825.0f, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " at " << c.x << ", " << c.y
                                        << " rider at " << c.riderX);
        a.x = c.riderX;
        a.state = c.kind == KIND_BRIDGE ? STATE_AIRBORNE : STATE_SURFACE;
        Obstacle o = make(c.kind, c.x, c.y);
        EXPECT_EQ(rules::touches(o, a), c.touch);
    }
}

TEST_F(ObstacleHits, HitPlaysBlinksAndTakesHealthBelowZero)
{
    b.health = 5;
    Obstacle rock = make(KIND_ROCK, 0, 0);
    rule([&](Contest&, Cues& cues) { rules::hit(b, rock, 4242, cues); });
    EXPECT_EQ(b.health, -5);
    EXPECT_EQ(b.blinkUntil, 4252u);
    EXPECT_EQ(sounds, "rock");
    EXPECT_EQ(a.health, 200);
    EXPECT_EQ(a.blinkUntil, 0u);
}

TEST_F(ObstacleHits, MovesWithTheRiverAndIsGoneOnlyOnceAWholeHeightBelowTheScreen)
{
    Obstacle log = make(KIND_LOG, 100.0f, -100.0f);
    Obstacle rock = make(KIND_ROCK, 100.0f, -100.0f);
    rules::moveDown(log, 14.8f);
    rules::moveDown(rock, 14.8f);
    EXPECT_EQ(log.y, static_cast<float>((14.8f + 5.0) + -100.0));
    EXPECT_EQ(rock.y, static_cast<float>(14.8f + -100.0));
    EXPECT_EQ(log.x, 100.0f);

    const struct {
        int kind;
        float y;
        bool gone;
    } cases[] = {{KIND_ROCK, 700.0f, false}, {KIND_ROCK, 700.0001f, true},
                 {KIND_BURGER, 650.0f, false}, {KIND_BURGER, 650.5f, true}};
    for (const auto& c : cases)
        EXPECT_EQ(rules::gone(make(c.kind, 200.0f, c.y), 600), c.gone) << c.kind << " at " << c.y;
}

TEST_F(ObstacleHits, DrawsItsPhaseFrameAtItsTruncatedCorner)
{
    BITMAP* canvas = create_bitmap(800, 600);
    clear_to_color(canvas, 0);
    const uint32_t before = ticks;
    ticks = 1003; // 1003 - phase 1000 = 3 ticks: the rock's second frame
    Obstacle rock = make(KIND_ROCK, 120.9f, 40.7f, 1000);
    rock.draw(canvas);
    ticks = before;
    EXPECT_EQ(getpixel(canvas, 120, 40), colourOf(KIND_ROCK, 1));
    EXPECT_EQ(getpixel(canvas, 219, 139), colourOf(KIND_ROCK, 1));
    EXPECT_EQ(getpixel(canvas, 119, 40), 0);
    EXPECT_EQ(getpixel(canvas, 120, 39), 0);
    EXPECT_EQ(getpixel(canvas, 220, 139), 0);
    destroy_bitmap(canvas);
}

} // namespace
} // namespace world_test
