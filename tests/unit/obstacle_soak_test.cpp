// An hour of play at 20 passes a second, with the game loop's order of work and random
// keys: the lanes must neither keep what has left the screen nor grow.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "obstacle_fixture.h"

namespace obstacle_test {
namespace {

struct ObstacleSoak : ObstacleWorld {};

TEST_F(ObstacleSoak, AnHourOfPlayKeepsTheLanesShortAndOrdered)
{
    BITMAP* canvas = create_bitmap(800, 600);
    clear_to_color(canvas, 0);
    BITMAP* shadow = create_bitmap(800, 40);
    clear_to_color(shadow, makecol(5, 5, 5));
    bridgeShadowBitmap = shadow;
    const GameSetup setup = defaultGameSetup();
    srand(20240611);

    std::unique_ptr<ObstacleLanes> lanes;
    int passInGame = 0;
    auto newGame = [&] {
        ticks = 0;
        setupGame(setup);
        riders[0]->index = 0;
        lanes = std::make_unique<ObstacleLanes>();
        passInGame = 0;
    };
    newGame();

    size_t most = 0;
    int games = 1;
    int spawned = 0;
    for (int pass = 0; pass < 72000; ++pass) {
        const uint32_t now = ticks;
        if (now < 10)
            riverSpeed = rampSpeed(now);
        // A decided game slows to a stop; an undecided one is left with ESC after 5 minutes.
        bool over = false;
        if (gameOver) {
            riverSpeed = static_cast<float>(static_cast<double>(riverSpeed) - 0.1);
            over = riverSpeed <= 0.0f;
        }
        if (over || passInGame == 6000) {
            newGame();
            ++games;
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            key[riders[i]->leftKey] = rand() % 3 == 0;
            key[riders[i]->rightKey] = rand() % 3 == 0;
            key[riders[i]->actionKey] = rand() % 4 == 0;
        }
        updateRiders();
        if (rand() % 10 == 0) {
            lanes->spawnObstacle();
            ++spawned;
        }
        lanes->updateLowerLanes(canvas, pair);
        lanes->updateBridgeLane(canvas, pair);
        ++ticks;
        ++passInGame;

        size_t total = 0;
        for (int k = 0; k < 4; ++k) {
            const std::list<Obstacle>& lane = lanes->lanes[k];
            total += lane.size();
            if (lane.empty())
                continue;
            ASSERT_FALSE(lane.front().isGone()) << "pass " << pass << " lane " << k;
            float above = lane.front().y;
            for (const Obstacle& o : lane) {
                ASSERT_EQ(o.sprite, &obstacleKinds[k].sprite);
                ASSERT_LE(o.y, above) << "pass " << pass << " lane " << k;
                above = o.y;
                if (k == KIND_BURGER) {
                    ASSERT_EQ(o.hitRider[0] | o.hitRider[1], 0) << "uneaten touched burger";
                }
            }
        }
        most = std::max(most, total);
        ASSERT_LT(total, 100u) << "pass " << pass;
        ASSERT_LE(riders[0]->mass, 150.0f);
        ASSERT_LE(riders[1]->mass, 150.0f);
    }
    EXPECT_GT(spawned, 6000);
    EXPECT_GE(games, 12);
    EXPECT_GT(most, 5u);
    lanes.reset();
    destroy_bitmap(shadow);
    destroy_bitmap(canvas);
}

}  // namespace
}  // namespace obstacle_test
