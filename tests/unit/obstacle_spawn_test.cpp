#include <algorithm>
#include <cstdlib>

#include "obstacle_fixture.h"

namespace obstacle_test {
namespace {

// A seed whose first rand() % 4 draws the given kind.
unsigned seedDrawing(int kind)
{
    for (unsigned seed = 1;; ++seed) {
        srand(seed);
        if (rand() % 4 == kind)
            return seed;
    }
}

struct ObstacleSpawning : ObstacleWorld {
    ObstacleLanes lanes;

    size_t count(int kind) const { return lanes.lanes[kind].size(); }

    // Spawns with the kind forced by the seed; true when the lane grew.
    bool spawnAt(uint32_t tick, int kind)
    {
        ticks = tick;
        srand(seedDrawing(kind));
        const size_t before = count(kind);
        lanes.spawnObstacle();
        return count(kind) == before + 1;
    }
};

TEST_F(ObstacleSpawning, FirstGameHoldsBridgesBackForTenTicks)
{
    for (uint32_t t = 0; t < 10; ++t) {
        EXPECT_FALSE(spawnAt(t, KIND_BRIDGE)) << "tick " << t;
        EXPECT_EQ(lastSpawnTick, 0u);
    }
    EXPECT_TRUE(spawnAt(10, KIND_BRIDGE));
    EXPECT_EQ(lastSpawnTick, 10u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(count(k), 0u);
}

TEST_F(ObstacleSpawning, BridgeWaitsTenTicksAfterAnySpawn)
{
    EXPECT_TRUE(spawnAt(100, KIND_ROCK));
    EXPECT_FALSE(spawnAt(109, KIND_BRIDGE));
    EXPECT_EQ(lastSpawnTick, 100u);
    EXPECT_TRUE(spawnAt(110, KIND_BRIDGE));
    EXPECT_EQ(lastSpawnTick, 110u);
}

TEST_F(ObstacleSpawning, RefusedBridgeIsMeasuredAgainstTheLastRealSpawn)
{
    EXPECT_TRUE(spawnAt(100, KIND_LOG));
    EXPECT_FALSE(spawnAt(105, KIND_BRIDGE));
    EXPECT_FALSE(spawnAt(109, KIND_BRIDGE));
    EXPECT_TRUE(spawnAt(110, KIND_BRIDGE));
    EXPECT_FALSE(spawnAt(119, KIND_BRIDGE));
}

TEST_F(ObstacleSpawning, RefusedBridgeDrawsNothingElse)
{
    ticks = 5;
    const unsigned seed = seedDrawing(KIND_BRIDGE);
    srand(seed);
    lanes.spawnObstacle();
    const int next = rand();
    srand(seed);
    rand();
    EXPECT_EQ(next, rand());
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(count(k), 0u);
}

TEST_F(ObstacleSpawning, OtherKindsAreNeverThrottled)
{
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(spawnAt(50, k));
        EXPECT_TRUE(spawnAt(50, k));
        EXPECT_TRUE(spawnAt(51, k));
    }
    EXPECT_EQ(lastSpawnTick, 51u);
}

TEST_F(ObstacleSpawning, TickLeftFromAnEarlierGameWrapsAndLetsTheBridgeThrough)
{
    lastSpawnTick = 250;
    EXPECT_TRUE(spawnAt(3, KIND_BRIDGE));
    EXPECT_EQ(lastSpawnTick, 3u);
}

// Kind, phase, then the position for everything narrower than the screen.
TEST_F(ObstacleSpawning, DrawsKindThenPhaseThenPosition)
{
    const int widths[4] = {100, 200, 50, 800};
    const int heights[4] = {100, 100, 50, BRIDGE_HEIGHT};
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        ticks = 500 + 20 * kind;
        const unsigned seed = seedDrawing(kind);
        srand(seed);
        lanes.spawnObstacle();
        const int after = rand();

        srand(seed);
        EXPECT_EQ(rand() % 4, kind);
        const int phase = rand() % 20;
        float x = 0.0f;
        if (kind != KIND_BRIDGE)
            x = static_cast<float>(rand() % (800 - 200 - widths[kind]) + 100);
        EXPECT_EQ(after, rand());

        ASSERT_EQ(count(kind), 1u);
        const Obstacle& o = lanes.lanes[kind].back();
        EXPECT_EQ(o.phase, phase);
        EXPECT_EQ(o.x, x);
        EXPECT_EQ(o.y, static_cast<float>(-heights[kind]));
        EXPECT_EQ(o.width, widths[kind]);
        EXPECT_EQ(o.height, heights[kind]);
        EXPECT_EQ(o.sprite, &obstacleKinds[kind].sprite);
        EXPECT_EQ(o.layerMask, obstacleKinds[kind].layerMask);
        EXPECT_EQ(o.damage, obstacleKinds[kind].damage);
        EXPECT_EQ(o.ownSpeed, obstacleKinds[kind].ownSpeed);
        EXPECT_EQ(o.sound, obstacleKinds[kind].sound);
        EXPECT_EQ(o.hitRider[0], 0);
        EXPECT_EQ(o.hitRider[1], 0);
    }
}

TEST_F(ObstacleSpawning, NewObstaclesQueueAtTheBackOfTheirLane)
{
    spawnAt(10, KIND_ROCK);
    lanes.lanes[KIND_ROCK].front().y = 300.0f;
    spawnAt(11, KIND_ROCK);
    ASSERT_EQ(count(KIND_ROCK), 2u);
    EXPECT_EQ(lanes.lanes[KIND_ROCK].front().y, 300.0f);
    EXPECT_EQ(lanes.lanes[KIND_ROCK].back().y, -100.0f);
}

TEST_F(ObstacleSpawning, LeftEdgesStayClearOfBothBanks)
{
    srand(7);
    const int lowest[3] = {100, 100, 100};
    const int highest[3] = {599, 499, 649};
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        float lo = 1e9f, hi = -1e9f;
        for (int i = 0; i < 20000; ++i) {
            ObstacleKind& k = obstacleKinds[kind];
            const Obstacle fresh(&k.sprite, k.layerMask, k.damage, k.ownSpeed, 0, k.sound);
            lo = std::min(lo, fresh.x);
            hi = std::max(hi, fresh.x);
        }
        EXPECT_EQ(lo, static_cast<float>(lowest[kind]));
        EXPECT_EQ(hi, static_cast<float>(highest[kind]));
    }
}

// Kinds too wide to fit between the banks would leave nothing (or less) to divide by.
TEST_F(ObstacleSpawning, KindsTooWideForTheRiverGetASafePosition)
{
    struct Case {
        int width;
        float x;
        int draws;
    } cases[] = {
        {599, 100.0f, 1},  // one position only
        {600, 100.0f, 1},  // nothing to divide by
        {700, 100.0f, 1},  // negative room
        {799, 100.0f, 1},
        {800, 0.0f, 0},    // the bridge
        {900, 0.0f, 0},    // wider than the screen: spans it like a bridge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        AnimatedSprite wide;
        wide.init(strips[KIND_ROCK], c.width, 40, 0, 0, 1, 0, 1);
        srand(11);
        const Obstacle o(&wide, 3, 10, 0.0f, 0, SND_ROCK);
        const int after = rand();
        srand(11);
        for (int i = 0; i < c.draws; ++i)
            rand();
        EXPECT_EQ(after, rand());
        EXPECT_EQ(o.x, c.x);
        EXPECT_EQ(o.y, -40.0f);
    }
}

TEST_F(ObstacleSpawning, CopiesCarryTheTouchFlags)
{
    Obstacle o = make(KIND_LOG, 120.0f, 33.5f, 7);
    o.hitRider[1] = 1;
    const Obstacle copy = o;
    EXPECT_EQ(copy.hitRider[0], 0);
    EXPECT_EQ(copy.hitRider[1], 1);
    EXPECT_EQ(copy.x, 120.0f);
    EXPECT_EQ(copy.y, 33.5f);
    EXPECT_EQ(copy.phase, 7);
    EXPECT_EQ(copy.sprite, o.sprite);
}

}  // namespace
}  // namespace obstacle_test
