// The computer rider in situations built by hand: what it presses, and what that leads to
// under the real rules, pass by pass.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "classic/obstacle.h"
#include "computer/computer.h"
#include "world_fixture.h"

namespace world_test {
namespace {

struct ComputerWorld : RiverTest {
    std::vector<uint8_t> states; // the computer's rider's state after each pass

    ComputerWorld()
    {
        w.ticks = 900;
        w.riverSpeed = 14.815228f; // cruising
    }

    // The other rider high in a long jump at `x`, where it can be neither bumped nor landed
    // on for the length of a test: only the river is left to deal with.
    void outOfReach(int i, float x)
    {
        w.riders[i].x = x;
        w.riders[i].state = STATE_AIRBORNE;
        w.riders[i].height = 100.0f;
        w.riders[i].verticalSpeed = 90.0f;
    }

    // One pass of the game with the computer riding `self` and the other rider pressing
    // `other`: the riders' step, then the obstacles moved and tested. Returns the computer's keys.
    RiderInput pass(ComputerRider& computer, int self, RiderInput other = {})
    {
        RiderInput inputs[2];
        inputs[self] = computer.decide(w);
        inputs[1 - self] = other;
        rule([&](Contest& c, Cues& cues) {
            rules::stepRiders(a, b, inputs, c, cues);
            moveObstacles(w, cues);
        });
        states.push_back(w.riders[self].state);
        ++w.ticks;
        return inputs[self];
    }
    bool everIn(uint8_t state) const
    {
        for (uint8_t s : states)
            if (s & state)
                return true;
        return false;
    }
};

using ComputerRides = ComputerWorld;

TEST_F(ComputerRides, RockStraightAheadIsAvoided)
{
    b.x = 550.0f;
    outOfReach(0, 250.0f);
    put(KIND_ROCK, 500.0f, 0.0f); // centred on Berto, 24 passes away
    ComputerRider berto(1, HIGHEST_LEVEL);
    for (int i = 0; i < 60; ++i)
        pass(berto, 1);
    EXPECT_EQ(b.health, 200);
    EXPECT_EQ(sounds.find("rock"), std::string::npos) << "a rock hit the computer: " << sounds;
}

TEST_F(ComputerRides, LogTooWideToSteerRoundIsJumped)
{
    a.x = 400.0f;
    outOfReach(1, 650.0f);
    put(KIND_LOG, 300.0f, 70.0f); // 200 wide, centred on Rudko, 15 passes away
    ComputerRider rudko(0, HIGHEST_LEVEL);
    bool released = false;
    int held = 0;
    for (int i = 0; i < 50; ++i) {
        const RiderInput keys = pass(rudko, 0);
        held = keys.action ? held + 1 : 0;
        released = released || (a.state & STATE_AIRBORNE);
        EXPECT_LT(held, 20) << "a jump is the action key let go within 20 passes";
    }
    EXPECT_TRUE(released);
    EXPECT_FALSE(everIn(STATE_SUBMERGED));
    EXPECT_EQ(a.health, 200);
}

TEST_F(ComputerRides, LogsAcrossTheRiverUnderABridgeAreDivedUnder)
{
    // On a slow river, logs from bank to bank pass under a bridge: jumping meets the bridge,
    // floating meets a log; only under water is safe.
    w.riverSpeed = 8.0f;
    a.x = 400.0f;
    outOfReach(1, 675.0f);
    for (float x : {100.0f, 300.0f, 499.0f})
        put(KIND_LOG, x, -90.0f);   // over the riders' row from pass 34 to 49
    put(KIND_BRIDGE, 0.0f, 102.0f); // from pass 36 to 56
    ComputerRider rudko(0, HIGHEST_LEVEL);
    for (int i = 0; i < 80; ++i)
        pass(rudko, 0);
    EXPECT_EQ(a.health, 200);
    EXPECT_TRUE(everIn(STATE_SUBMERGED));
    EXPECT_FALSE(everIn(STATE_AIRBORNE));
    EXPECT_EQ(a.state, STATE_SURFACE) << "it comes up again";
}

TEST_F(ComputerRides, BankCloseIsKeptOff)
{
    // Left alone it would drift 85 pixels, 10 past the left bank's limit.
    a.x = 200.0f;
    a.velocity = -9.0f;
    outOfReach(1, 600.0f);
    ComputerRider rudko(0, HIGHEST_LEVEL);
    float nearest = 1000.0f;
    for (int i = 0; i < 40; ++i) {
        pass(rudko, 0);
        nearest = std::min(nearest, a.x);
    }
    EXPECT_EQ(a.health, 200);
    EXPECT_GT(nearest, 125.0f);
}

TEST_F(ComputerRides, BurgerNearbyIsTakenWhileLight)
{
    a.x = 400.0f;
    outOfReach(1, 650.0f);
    put(KIND_BURGER, 470.0f, 50.0f); // 95 pixels to the right, 24 passes away
    ComputerRider rudko(0, HIGHEST_LEVEL);
    for (int i = 0; i < 40; ++i)
        pass(rudko, 0);
    EXPECT_EQ(a.mass, 105.0f);
    EXPECT_TRUE(w.lanes[KIND_BURGER].empty());
}

TEST_F(ComputerRides, OtherRiderAlongsideIsHurt)
{
    a.x = 400.0f;
    b.x = 470.0f;
    ComputerRider berto(1, HIGHEST_LEVEL);
    for (int i = 0; i < 100; ++i)
        pass(berto, 1);
    EXPECT_LT(a.health, 200);
    EXPECT_EQ(b.health, 200);
}

// The river seen from the other bank: left and right swapped, and Rudko and Berto.
World mirrored(const World& w)
{
    World m = w;
    for (int i = 0; i < 2; ++i) {
        m.riders[i] = w.riders[1 - i];
        m.riders[i].x = 800.0f - m.riders[i].x;
        m.riders[i].velocity = -m.riders[i].velocity;
        m.riders[i].index = static_cast<uint8_t>(i);
    }
    m.prevRiderHeightSign = -w.prevRiderHeightSign;
    for (auto& lane : m.lanes)
        for (ObstacleState& o : lane) {
            o.x = 800.0f - o.x - static_cast<float>(o.width);
            std::swap(o.hitRider[0], o.hitRider[1]);
        }
    return m;
}

// Two flawless computers ride a river with rocks, a log and burgers, and two more ride its mirror
// image: each presses the mirror image of what its counterpart on the other bank presses,
// pass for pass, while the riders meet, bump and dodge. Neither side is favoured by the order
// in which places across the river are weighed.
TEST_F(ComputerRides, EitherBankRidesAlike)
{
    a.x = 300.0f;
    b.x = 470.0f;
    put(KIND_ROCK, 180.0f, 40.0f);
    put(KIND_ROCK, 520.0f, -60.0f);
    put(KIND_LOG, 330.0f, -20.0f);
    put(KIND_BURGER, 600.0f, 120.0f);
    put(KIND_BURGER, 230.0f, -40.0f);
    World worlds[2] = {w, mirrored(w)};
    ComputerRider computers[2][2] = {{ComputerRider(0, FLAWLESS), ComputerRider(1, FLAWLESS)},
                                     {ComputerRider(0, FLAWLESS), ComputerRider(1, FLAWLESS)}};
    int met = 0;
    for (int i = 0; i < 150; ++i) {
        RiderInput keys[2][2];
        for (int side = 0; side < 2; ++side) {
            w = worlds[side];
            for (int r = 0; r < 2; ++r)
                keys[side][r] = computers[side][r].decide(w);
            rule([&](Contest& c, Cues& cues) {
                rules::stepRiders(a, b, keys[side], c, cues);
                moveObstacles(w, cues);
            });
            ++w.ticks;
            worlds[side] = w;
        }
        for (int r = 0; r < 2; ++r) {
            const RiderInput& k = keys[0][r];
            const RiderInput& m = keys[1][1 - r];
            ASSERT_TRUE(k.left == m.right && k.right == m.left && k.action == m.action)
                << "pass " << i << ": " << (r ? "Berto" : "Rudko") << " presses left/right/action " << +k.left
                << +k.right << +k.action << ", its mirror image " << +m.right << +m.left << +m.action;
        }
        met += std::fabs(worlds[0].riders[0].x - worlds[0].riders[1].x) < 60.0f;
    }
    EXPECT_GT(met, 0) << "the riders never came near each other";
    EXPECT_NE(worlds[0].riders[0].health + worlds[0].riders[1].health, 400) << "nothing happened";
}

bool same(const RiderInput& a, const RiderInput& b)
{
    return a.left == b.left && a.right == b.right && a.action == b.action;
}

// Two games alike until a rock shows up in one of them: the computer's keys stay the same
// for its reaction time after it first could have seen the rock (8 passes, 400 ms, at level
// 1 down to 3, 150 ms, at level 5), and part only then. Deciding draws no random number.
TEST_F(ComputerRides, SeesARockAsLateAsItsLevelReactsAndDrawsNoRandomNumber)
{
    const int appears = 20;
    const int reaction[HIGHEST_LEVEL + 1] = {0, 8, 6, 5, 4, 3};
    a.x = 175.0f; // where it waits when nothing comes: off its own bank
    outOfReach(1, 650.0f);
    const World start = w;
    for (int level = LOWEST_LEVEL; level <= HIGHEST_LEVEL; ++level) {
        std::vector<RiderInput> plays[2];
        for (int game = 0; game < 2; ++game) {
            w = start;
            ComputerRider rudko(0, level, 77);
            for (int i = 0; i < 70; ++i) {
                if (game == 1 && i == appears)
                    put(KIND_ROCK, 125.0f, 0.0f);
                plays[game].push_back(pass(rudko, 0));
            }
        }
        int parted = -1;
        for (int i = 0; i < 70 && parted < 0; ++i)
            if (!same(plays[0][i], plays[1][i]))
                parted = i;
        EXPECT_GE(parted, appears + reaction[level]) << "level " << level;
        EXPECT_LE(parted, appears + reaction[level] + 12) << "level " << level << " does react to the rock";
    }
    w = start;

    put(KIND_LOG, 300.0f, 200.0f);
    put(KIND_BURGER, 420.0f, 300.0f);
    for (int level = LOWEST_LEVEL; level <= HIGHEST_LEVEL; ++level) {
        srand(7);
        const int first = rand();
        srand(7);
        ComputerRider rudko(0, level, 5);
        for (int i = 0; i < 100; ++i)
            rudko.decide(w);
        EXPECT_EQ(rand(), first) << "level " << level;
    }
}

}  // namespace
}  // namespace world_test
