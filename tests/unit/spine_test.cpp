#include <gtest/gtest.h>

#include <cstring>

#include "classic/game.h"
#include "app/clock.h"
#include "app/game.h"
#include "app/menu.h"
#include "harness.h"
#include "classic/rider.h"

namespace {

struct MenuButtonHitArea : ::testing::Test {
    MenuButton button{100, 100, 300, 40};
    void TearDown() override { releaseAllInput(); }
    bool pressAt(int x, int y)
    {
        mouse_x = x;
        mouse_y = y;
        mouse_b = 1;
        return button.isClicked();
    }
};

TEST_F(MenuButtonHitArea, CornersOfTheHitAreaStartAGame)
{
    EXPECT_TRUE(pressAt(100, 100));
    EXPECT_TRUE(pressAt(399, 139));
    EXPECT_TRUE(pressAt(250, 120));
}

TEST_F(MenuButtonHitArea, PaintedEdgeOutsideTheHitAreaDoesNot)
{
    EXPECT_FALSE(pressAt(400, 120));
    EXPECT_FALSE(pressAt(250, 140));
    EXPECT_FALSE(pressAt(99, 120));
    EXPECT_FALSE(pressAt(250, 99));
}

TEST_F(MenuButtonHitArea, OnlyTheLeftButtonCounts)
{
    mouse_x = 200;
    mouse_y = 120;
    mouse_b = 0;
    EXPECT_FALSE(button.isClicked());
    mouse_b = 2;
    EXPECT_FALSE(button.isClicked());
    mouse_b = 3;
    EXPECT_TRUE(button.isClicked());
}

TEST_F(MenuButtonHitArea, HoldingTheButtonWhileMovingInCountsOnceInside)
{
    mouse_b = 1;
    mouse_y = 120;
    const int path[] = {90, 95, 99, 100};
    bool seen[4];
    for (int i = 0; i < 4; ++i) {
        mouse_x = path[i];
        seen[i] = button.isClicked();
    }
    EXPECT_FALSE(seen[0]);
    EXPECT_FALSE(seen[1]);
    EXPECT_FALSE(seen[2]);
    EXPECT_TRUE(seen[3]);
}

TEST(MenuButtonPainting, PaintedBlockIsOnePixelLargerThanTheHitArea)
{
    BITMAP* canvas = create_bitmap(500, 200);
    clear_to_color(canvas, 0);
    MenuButton(100, 100, 300, 40).draw(canvas);
    const int blue = makecol(0, 192, 255);
    EXPECT_EQ(getpixel(canvas, 100, 100), blue);
    EXPECT_EQ(getpixel(canvas, 400, 140), blue);
    EXPECT_EQ(getpixel(canvas, 401, 140), 0);
    EXPECT_EQ(getpixel(canvas, 400, 141), 0);
    EXPECT_EQ(getpixel(canvas, 99, 100), 0);
    destroy_bitmap(canvas);
}

// The menu is drawn again only when the pointer or the status line differs from what the
// screen shows, or after a game took the screen; the status is compared by its text.
TEST(MenuRedraw, OnlyWhatChangedOnTheMenuDrawsItAgain)
{
    char status[32] = "Waiting for the other side";
    char sameText[32] = "Waiting for the other side";
    ShownMenu shown;
    struct Look {
        int x, y;
        const char* status;
        bool forget;
        bool draws;
    } const looks[] = {
        {600, 300, nullptr, false, true},   // the first look
        {600, 300, nullptr, false, false},  // nothing moved
        {601, 300, nullptr, false, true},   // the pointer moved
        {601, 301, nullptr, false, true},
        {601, 301, status, false, true},    // a status line appeared
        {601, 301, sameText, false, false}, // the same words from another buffer
        {601, 301, nullptr, true, true},    // a game took the screen
        {601, 301, nullptr, false, false},
    };
    int i = 0;
    for (const Look& look : looks) {
        if (look.forget)
            shown.drawn = false;
        EXPECT_EQ(shown.changed(look.x, look.y, look.status), look.draws) << "look " << i;
        ++i;
    }
    std::strcpy(status, "Connected");
    EXPECT_TRUE(shown.changed(601, 301, status));
    EXPECT_FALSE(shown.changed(601, 301, status));
    std::strcpy(status, "Connected.");
    EXPECT_TRUE(shown.changed(601, 301, status)) << "the status's words changed in place";
    EXPECT_TRUE(shown.changed(601, 301, nullptr)) << "the status line went away";
}

// The pacing rule: a wait ends on the first tick at or past its target, the next target is
// one past the tick the wait ended on, and ticks that went by during an overrun are dropped.
uint32_t napsTaken = 0;
void napAndTick(unsigned int)
{
    ++napsTaken;
    ++ticks;
}
void napOnly(unsigned int)
{
    ++napsTaken;
}

TEST(Pacing, WaitsForTheTargetTickAndAimsOnePastIt)
{
    ticks = 3;
    napsTaken = 0;
    EXPECT_EQ(waitForTick(6, napAndTick), 7u);
    EXPECT_EQ(ticks.load(), 6u);
    EXPECT_EQ(napsTaken, 3u);
}

TEST(Pacing, AnOverrunIsFollowedAtOnceAndMissedTicksAreDropped)
{
    ticks = 12;
    napsTaken = 0;
    EXPECT_EQ(waitForTick(8, napOnly), 13u);
    EXPECT_EQ(napsTaken, 0u);
}

TEST(Pacing, ATargetOfZeroFallsThroughAfterAGame)
{
    ticks = 0;
    napsTaken = 0;
    EXPECT_EQ(waitForTick(0, napOnly), 1u);
    EXPECT_EQ(napsTaken, 0u);
}

TEST(Pacing, ARealNapGivesTheProcessorBackUntilTheTimerTicks)
{
    ticks = 0;
    std::atomic<bool> done{false};
    // Stand in for the timer thread with a counter bumped while the main thread naps.
    napsTaken = 0;
    uint32_t next = waitForTick(2, [](unsigned int) {
        if (++napsTaken % 3 == 0)
            ++ticks;
    });
    done = true;
    EXPECT_EQ(next, 3u);
    EXPECT_EQ(napsTaken, 6u);
}

TEST(SpeedRamp, MatchesTheTableForEveryRampTick)
{
    const float expected[10] = {0.0f,       2.346448f,  4.635123f,  6.809672f,  8.816554f,
                                10.606356f, 12.135010f, 13.364877f, 14.265676f, 14.815228f};
    for (uint32_t t = 0; t < 10; ++t)
        EXPECT_FLOAT_EQ(rampSpeed(t), expected[t]) << "tick " << t;
}

TEST(SpeedRamp, SlowingFromCruisingTakes149Passes)
{
    float speed = rampSpeed(9);
    int passes = 0;
    do {
        speed = static_cast<float>(static_cast<double>(speed) - 0.1);
        ++passes;
    } while (speed > 0.0f);
    EXPECT_EQ(passes, 149);
}

struct GameSetupTest : ::testing::Test {
    void SetUp() override
    {
        if (!haveScreen())
            FAIL() << "no 800 x 600 window: the unit tests run under tests/e2e/xvfb.sh";
        for (Rider*& rider : riders)
            if (!rider)
                rider = new Rider;
    }
};

TEST_F(GameSetupTest, PutsRiverAndRidersIntoTheirStartingState)
{
    riverSpeed = 9.0f;
    gameOver = true;
    riders[0]->health = 3;
    riders[0]->x = 999.0f;
    riders[1]->mass = 140.0f;
    riders[1]->index = 0;
    setupGame(defaultGameSetup());
    EXPECT_EQ(riverSpeed, 0.0f);
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(riders[0]->x, 250.0f);
    EXPECT_EQ(riders[1]->x, 550.0f);
    EXPECT_EQ(riders[0]->health, 200);
    EXPECT_EQ(riders[1]->mass, 100.0f);
    EXPECT_STREQ(riders[0]->name, "Rudko");
    EXPECT_STREQ(riders[1]->name, "Berto");
    EXPECT_EQ(riders[0]->leftKey, KEY_A);
    EXPECT_EQ(riders[0]->rightKey, KEY_D);
    EXPECT_EQ(riders[0]->actionKey, KEY_S);
    EXPECT_EQ(riders[1]->leftKey, KEY_LEFT);
    EXPECT_EQ(riders[1]->rightKey, KEY_RIGHT);
    EXPECT_EQ(riders[1]->actionKey, KEY_DOWN);
    EXPECT_EQ(riders[0]->index, 0);
    EXPECT_EQ(riders[1]->index, 1);
}

TEST_F(GameSetupTest, KeyCodesAreTheLibrarysOwn)
{
    const GameSetup setup = defaultGameSetup();
    EXPECT_EQ(setup.riders[0].leftKey, 1);
    EXPECT_EQ(setup.riders[0].rightKey, 4);
    EXPECT_EQ(setup.riders[0].actionKey, 19);
    EXPECT_EQ(setup.riders[1].leftKey, 82);
    EXPECT_EQ(setup.riders[1].rightKey, 83);
    EXPECT_EQ(setup.riders[1].actionKey, 85);
    EXPECT_EQ(KEY_ESC, 59);
}

}  // namespace
