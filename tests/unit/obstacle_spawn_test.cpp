// Spawning into a world's lanes from the world's generator: which kind, when a bridge must
// wait, what is drawn from the generator and in which order, and where a new obstacle starts.
#include <algorithm>
#include <cstring>

#include "classic/obstacle.h"
#include "world_fixture.h"

namespace world_test {
namespace {

// A seed whose first draw % 4 draws the given kind.
unsigned seedDrawing(int kind)
{
    for (unsigned seed = 1;; ++seed) {
        RandomState random = seededRandom(seed);
        if (nextRandom(random) % 4 == kind)
            return seed;
    }
}

// The next number `random` gives, without moving it.
int nextOf(RandomState random)
{
    return nextRandom(random);
}

struct ObstacleSpawning : RiverTest {
    // One spawn attempt at `tick` from a generator that draws `kind`; true when the lane grew.
    bool spawnAt(uint32_t tick, int kind)
    {
        w.random = seededRandom(seedDrawing(kind));
        const size_t before = w.lanes[kind].size();
        rules::spawn(w.lanes, tick, w.lastSpawnTick, w.random);
        return w.lanes[kind].size() == before + 1;
    }
};

// A bridge waits 10 ticks after the last obstacle spawned (from 0 in the first game); a
// refused bridge does not count, other kinds never wait, and a tick left over from an
// earlier game wraps round and lets the bridge through.
TEST_F(ObstacleSpawning, BridgesWaitTenTicksAfterTheLastSpawn)
{
    const struct {
        uint32_t tick;
        int kind;
        bool spawned;
        uint32_t last;
    } script[] = {
        {0, KIND_BRIDGE, false, 0},    {5, KIND_BRIDGE, false, 0},   {9, KIND_BRIDGE, false, 0},
        {10, KIND_BRIDGE, true, 10},   {100, KIND_ROCK, true, 100},  {109, KIND_BRIDGE, false, 100},
        {110, KIND_BRIDGE, true, 110}, {119, KIND_BRIDGE, false, 110}, {200, KIND_LOG, true, 200},
        {205, KIND_BRIDGE, false, 200}, {209, KIND_BRIDGE, false, 200}, {210, KIND_BRIDGE, true, 210},
        {250, KIND_ROCK, true, 250},   {250, KIND_ROCK, true, 250},  {251, KIND_LOG, true, 251},
        {251, KIND_BURGER, true, 251}, {251, KIND_BURGER, true, 251}, {3, KIND_BRIDGE, true, 3},
    };
    for (const auto& s : script) {
        EXPECT_EQ(spawnAt(s.tick, s.kind), s.spawned) << "tick " << s.tick << " kind " << s.kind;
        EXPECT_EQ(w.lastSpawnTick, s.last) << "tick " << s.tick;
    }
    const size_t sizes[4] = {3, 2, 2, 4};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(w.lanes[k].size(), sizes[k]) << k;
}

TEST_F(ObstacleSpawning, RefusedBridgeDrawsNothingElse)
{
    const unsigned seed = seedDrawing(KIND_BRIDGE);
    EXPECT_FALSE(spawnAt(5, KIND_BRIDGE));
    RandomState once = seededRandom(seed);
    nextRandom(once);
    EXPECT_EQ(nextOf(w.random), nextOf(once));
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(w.lanes[k].empty());
}

// Kind, phase, then the position for everything narrower than the screen.
TEST_F(ObstacleSpawning, DrawsKindThenPhaseThenPosition)
{
    const int widths[4] = {100, 200, 50, 800};
    const int heights[4] = {100, 100, 50, BRIDGE_HEIGHT};
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        ASSERT_TRUE(spawnAt(500 + 20 * kind, kind));
        const unsigned seed = seedDrawing(kind);
        RandomState random = seededRandom(seed);
        int phase = 0;
        float x = 0.0f;
        EXPECT_EQ(nextRandom(random) % 4, kind);
        phase = nextRandom(random) % 20;
        if (kind != KIND_BRIDGE)
            x = static_cast<float>(nextRandom(random) % (800 - 200 - widths[kind]) + 100);
        EXPECT_EQ(nextOf(w.random), nextOf(random));

        ASSERT_EQ(w.lanes[kind].size(), 1u);
        const ObstacleState& o = w.lanes[kind].back();
        const ObstacleKind& k = obstacleKinds[kind];
        EXPECT_EQ(o.phase, phase);
        EXPECT_EQ(o.x, x);
        EXPECT_EQ(o.y, static_cast<float>(-heights[kind]));
        EXPECT_EQ(o.width, widths[kind]);
        EXPECT_EQ(o.height, heights[kind]);
        EXPECT_EQ(o.kind, kind);
        EXPECT_EQ(o.layerMask, k.layerMask);
        EXPECT_EQ(o.damage, k.damage);
        EXPECT_EQ(o.ownSpeed, k.ownSpeed);
        EXPECT_EQ(o.sound, k.sound);
        EXPECT_EQ(o.hitRider[0] | o.hitRider[1], 0);
    }
}

TEST_F(ObstacleSpawning, NewObstaclesQueueAtTheBackOfTheirLane)
{
    spawnAt(10, KIND_ROCK);
    w.lanes[KIND_ROCK].front().y = 300.0f;
    spawnAt(11, KIND_ROCK);
    ASSERT_EQ(w.lanes[KIND_ROCK].size(), 2u);
    EXPECT_EQ(w.lanes[KIND_ROCK].front().y, 300.0f);
    EXPECT_EQ(w.lanes[KIND_ROCK].back().y, -100.0f);
}

// A new obstacle's left edge is drawn clear of both 100-pixel banks. Kinds too wide to fit
// between the banks would leave nothing (or less) to divide by: they hug the left bank, and
// anything as wide as the screen spans it like a bridge without drawing a number.
TEST_F(ObstacleSpawning, NewObstaclesStartClearOfTheBanks)
{
    const struct {
        int width;
        float lowest, highest;
        int draws;
    } cases[] = {
        {100, 100.0f, 599.0f, 1}, {200, 100.0f, 499.0f, 1}, {50, 100.0f, 649.0f, 1},
        {599, 100.0f, 100.0f, 1}, // one position only
        {600, 100.0f, 100.0f, 1}, // nothing to divide by
        {700, 100.0f, 100.0f, 1}, // negative room
        {799, 100.0f, 100.0f, 1}, {800, 0.0f, 0.0f, 0}, {900, 0.0f, 0.0f, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        RandomState random = seededRandom(7), drawn = seededRandom(7);
        float lo = 1e9f, hi = -1e9f;
        for (int i = 0; i < (c.lowest < c.highest ? 20000 : 1); ++i) {
            const float x = rules::startX(c.width, random);
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        EXPECT_EQ(lo, c.lowest);
        EXPECT_EQ(hi, c.highest);
        if (c.lowest < c.highest)
            continue;
        for (int i = 0; i < c.draws; ++i)
            nextRandom(drawn);
        EXPECT_EQ(nextOf(random), nextOf(drawn));
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

} // namespace
} // namespace world_test
