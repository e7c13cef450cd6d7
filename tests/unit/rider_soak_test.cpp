#include <cstdlib>
#include <algorithm>
#include <iterator>
#include <sstream>

#include "rider_fixture.h"

namespace {

using RiderSoak = RiderTest;

// A cheap tally of the samples handed to the mixer, by sample.
SAMPLE* tallied[16];
long tally[16];

void countPlay(SAMPLE* sample, int, int, int, int)
{
    for (int i = 0; i < 16; ++i) {
        if (!tallied[i])
            tallied[i] = sample;
        if (tallied[i] == sample) {
            ++tally[i];
            return;
        }
    }
}

void countStop(SAMPLE*)
{
}

long timesPlayed(SAMPLE* sample)
{
    for (int i = 0; i < 16; ++i)
        if (tallied[i] == sample)
            return tally[i];
    return 0;
}

std::string describe(const Rider& r)
{
    std::ostringstream out;
    out << "x " << r.x << " health " << r.health << " mass " << r.mass << " state "
        << int(r.state) << " height " << r.height << " velocity " << r.velocity;
    return out.str();
}

bool inBounds(const Rider& r)
{
    const bool stateOk = r.state == 1 || r.state == 2 || r.state == 4 || r.state == 6;
    return r.x >= 125.0f && r.x <= SCREEN_W - 125.0f && r.health >= 0 && r.health <= 200 &&
           r.mass >= 100.0f && r.mass <= 150.0f && stateOk;
}

// Random keys for both riders over a million steps, games restarting after their
// run-out, burgers now and then, and the odd skipped tick.
TEST_F(RiderSoak, MillionRandomStepsStayInsideTheRules)
{
    SKIP_WITHOUT_SCREEN();
    mixer = {countPlay, countStop};
    std::fill(std::begin(tallied), std::end(tallied), nullptr);
    std::fill(std::begin(tally), std::end(tally), 0);
    srand(20240611);
    const int keys[6] = {KEY_A, KEY_D, KEY_S, KEY_LEFT, KEY_RIGHT, KEY_DOWN};
    int games = 1;
    int runOut = 0;
    for (long s = 0; s < 1000000; ++s) {
        for (int k : keys) {
            // Action keys change less often so that some holds reach the dive.
            const int odds = (k == KEY_S || k == KEY_DOWN) ? 14 : 6;
            if (rand() % odds == 0)
                key[k] = !key[k];
        }
        for (Rider* r : riders)
            if (rand() % 300 == 0 && r->mass < 150.0f)
                r->mass += 5.0f;
        ticks += rand() % 25 == 0 ? 2 : 1;
        updateRiders();
        for (Rider* r : riders)
            ASSERT_TRUE(inBounds(*r)) << "step " << s << " rider " << int(r->index) << ": "
                                      << describe(*r);
        if (gameOver && ++runOut == 150) {
            runOut = 0;
            ++games;
            gameOver = false;
            ticks = 0;
            for (Rider* r : riders)
                r->reset();
            riders[0]->x = 250.0f;
            riders[1]->x = 550.0f;
        }
    }
    // Every kind of event happened along the way.
    EXPECT_GT(games, 100);
    EXPECT_EQ(timesPlayed(gameEndSample), games - 1 + (gameOver ? 1 : 0));
    EXPECT_GT(timesPlayed(jumpSample), 1000);
    EXPECT_GT(timesPlayed(diveSample), 1000);
    EXPECT_GT(timesPlayed(emergeSample), 1000);
    EXPECT_GT(timesPlayed(stompSample), 100);
    EXPECT_GT(timesPlayed(bumpSamples[0]) + timesPlayed(bumpSamples[1]), 100);
    EXPECT_GT(timesPlayed(bankSample), 1000);
}

}  // namespace
