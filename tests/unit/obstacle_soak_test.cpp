// An hour of play at 20 passes a second, a world stepped whole with random keys: the lanes
// must neither keep what has left the screen nor grow.
#include <algorithm>

#include "classic/obstacle.h"
#include "world_fixture.h"

namespace world_test {
namespace {

using ObstacleSoak = RiverTest;

TEST_F(ObstacleSoak, AnHourOfPlayKeepsTheLanesShortAndOrdered)
{
    uint32_t keys = 20240611; // the players' keys, apart from the game's generator
    auto draw = [&keys](uint32_t odds) {
        keys = keys * 1103515245u + 12345u;
        return (keys >> 16) % odds == 0;
    };
    int passInGame = 0;
    // A new game: the river and riders set up, the carried-over values kept.
    auto newGame = [&] {
        World next;
        next.riders[0].x = 250.0f;
        next.riders[1].x = 550.0f;
        next.riders[1].index = 1;
        next.lastSpawnTick = w.lastSpawnTick;
        next.prevRiderHeightSign = w.prevRiderHeightSign;
        next.random = w.random;
        w = next;
        passInGame = 0;
    };
    w.random = seededRandom(20240611);
    newGame();

    size_t most = 0;
    int games = 1, spawned = 0;
    for (int pass = 0; pass < 72000; ++pass) {
        PassInput input;
        for (RiderInput& in : input.riders) {
            in.left = draw(3);
            in.right = draw(3);
            in.action = draw(4);
        }
        // A decided game slows to a stop; an undecided one is left with ESC after 5 minutes.
        Cues cues;
        if (passInGame == 6000 || !stepWorld(w, input, cues)) {
            newGame();
            ++games;
            continue;
        }
        heard(cues);
        spawned += w.lastSpawnTick == w.ticks;
        ++w.ticks;
        ++passInGame;

        size_t total = 0;
        for (int k = 0; k < 4; ++k) {
            const std::vector<ObstacleState>& lane = w.lanes[k];
            total += lane.size();
            if (lane.empty())
                continue;
            ASSERT_FALSE(rules::gone(lane.front(), 600)) << "pass " << pass << " lane " << k;
            float above = lane.front().y;
            for (const ObstacleState& o : lane) {
                ASSERT_EQ(o.kind, k);
                ASSERT_LE(o.y, above) << "pass " << pass << " lane " << k;
                above = o.y;
                if (k == KIND_BURGER) {
                    ASSERT_EQ(o.hitRider[0] | o.hitRider[1], 0) << "uneaten touched burger";
                }
            }
        }
        most = std::max(most, total);
        ASSERT_LT(total, 100u) << "pass " << pass;
        ASSERT_LE(w.riders[0].mass, 150.0f);
        ASSERT_LE(w.riders[1].mass, 150.0f);
    }
    EXPECT_GT(spawned, 6000);
    EXPECT_GE(games, 12);
    EXPECT_GT(most, 5u);
}

} // namespace
} // namespace world_test
