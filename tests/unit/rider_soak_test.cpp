// A million passes of random keys on the riders of a world: every rider stays inside the
// rules, and every kind of rider sound is heard along the way.
#include <cstdlib>
#include <map>

#include "world_fixture.h"

namespace world_test {
namespace {

bool inBounds(const RiderState& r)
{
    const bool stateOk = r.state == 1 || r.state == 2 || r.state == 4 || r.state == 6;
    return r.x >= 125.0f && r.x <= 675.0f && r.health >= 0 && r.health <= 200 &&
           r.mass >= 100.0f && r.mass <= 150.0f && stateOk;
}

// Games restart after 150 passes of run-out; burgers now and then, and the odd skipped tick.
TEST(RiderSoak, MillionRandomStepsStayInsideTheRules)
{
    World w;
    RandomState random = seededRandom(20240611);
    RiderInput inputs[2];
    auto newGame = [&] {
        w.gameOver = false;
        w.ticks = 0;
        w.riders[0] = w.riders[1] = RiderState{};
        w.riders[1].index = 1;
        w.riders[0].x = 250.0f;
        w.riders[1].x = 550.0f;
    };
    newGame();
    std::map<int, long> times;
    int games = 1;
    int runOut = 0;
    for (long s = 0; s < 1000000; ++s) {
        for (RiderInput& in : inputs) {
            // Action keys change less often so that some holds reach the dive.
            in.left = nextRandom(random) % 6 == 0 ? !in.left : in.left;
            in.right = nextRandom(random) % 6 == 0 ? !in.right : in.right;
            in.action = nextRandom(random) % 14 == 0 ? !in.action : in.action;
        }
        for (RiderState& r : w.riders)
            if (nextRandom(random) % 300 == 0 && r.mass < 150.0f)
                r.mass += 5.0f;
        w.ticks += nextRandom(random) % 25 == 0 ? 2 : 1;
        Contest contest{w.ticks, w.gameOver, w.winner, w.prevRiderHeightSign, 800};
        Cues cues;
        cues.random = &random; // the keys and the pitches, drawn in turn as the game once did
        rules::stepRiders(w.riders[0], w.riders[1], inputs, contest, cues);
        for (int i = 0; i < cues.count; ++i)
            ++times[cues.list[i].stop ? -1 : cues.list[i].event];
        for (const RiderState& r : w.riders)
            ASSERT_TRUE(inBounds(r)) << "step " << s << ": " << describe(r);
        if (w.gameOver && ++runOut == 150) {
            runOut = 0;
            ++games;
            newGame();
        }
    }
    EXPECT_GT(games, 100);
    EXPECT_EQ(times[SND_GAME_END], games - 1 + (w.gameOver ? 1 : 0));
    EXPECT_EQ(times[-1], times[SND_GAME_END]) << "the music stops at each end";
    EXPECT_GT(times[SND_JUMP], 1000);
    EXPECT_GT(times[SND_DIVE], 1000);
    EXPECT_GT(times[SND_EMERGE], 1000);
    EXPECT_GT(times[SND_STOMP], 100);
    EXPECT_GT(times[SND_BUMP], 100);
    EXPECT_GT(times[SND_BANK], 1000);
}

} // namespace
} // namespace world_test
