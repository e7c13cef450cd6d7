#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "classic/obstacle.h"
#include "audio/sound.h"
#include "harness.h"
#include "classic/lanes.h"
#include "presentation/assets.h"
#include "classic/frame.h"
#include "presentation/frame.h"
#include "scene_support.h"
#include "app/system.h"

using namespace scene_test;

namespace {

const int WATER = 0x1040a0;
const int LEFT_BANK = 0x30a030;
const int RIGHT_BANK = 0x309030;
const int RIDER_COLOUR[2] = {0xe0c000, 0xc000e0};
const int ROCK = 0x808080;
const int BRIDGE = 0x804000;

std::vector<int> drawLog;

// A rider body that notes which rider was drawn, so a frame's rider order can be read back.
struct LoggingSprite : AnimatedSprite {
    int rider = 0;
    void draw(BITMAP* dest, int x, int y) override
    {
        drawLog.push_back(rider);
        AnimatedSprite::draw(dest, x, y);
    }
};

void silentPlay(SAMPLE*, int, int, int, int) {}
void silentStop(SAMPLE*) {}

struct SceneFrame : ::testing::Test {
    SceneState state;
    ObstacleKind savedKinds[4];
    BITMAP* savedShadow = bridgeShadowBitmap;
    Mixer savedMixer = mixer;
    std::vector<BITMAP*> bitmaps;
    Rider* pair[2] = {nullptr, nullptr};
    LoggingSprite bodies[2];

    BITMAP* make(int w, int h, int colour)
    {
        bitmaps.push_back(solidBitmap(w, h, colour));
        return bitmaps.back();
    }

    void SetUp() override
    {
        if (!haveScreen())
            FAIL() << "no 800 x 600 screen: the unit tests run under tests/e2e/xvfb.sh";
        for (int k = 0; k < 4; ++k)
            savedKinds[k] = obstacleKinds[k];
        mixer = Mixer{silentPlay, silentStop};

        water.texture = make(200, 150, WATER);
        water.textureWidth = 200;
        water.textureHeight = 150;
        water.scrollOffset = 0.0f;
        banks.left.init(make(400, 600, LEFT_BANK), 100, 600, 0, 0, 4, 0, 9);
        banks.right.init(make(400, 600, RIGHT_BANK), 100, 600, 0, 0, 4, 0, 9);
        banks.scrollOffset = 0.0f;

        BITMAP* shadow = make(50, 100, SHADOW);
        for (int i = 0; i < 2; ++i) {
            pair[i] = new Rider;
            pair[i]->index = static_cast<uint8_t>(i);
            pair[i]->health = 200;
            pair[i]->mass = 100.0f;
            pair[i]->blinkUntil = 0;
            std::strcpy(pair[i]->name, i ? "Berto" : "Rudko");
            pair[i]->shadowSprite.init(shadow, 50, 100, 25, 50, 1, 0, 1);
            bodies[i].rider = i;
            bodies[i].init(make(50, 100, RIDER_COLOUR[i]), 50, 100, 25, 50, 1, 0, 1);
            pair[i]->currentSprite = &bodies[i];
            riders[i] = pair[i];
        }
        riverSpeed = 0.0f;
        ticks = 100;
        gameOver = true; // the riders are only drawn here: no obstacle may touch them
        drawLog.clear();
    }
    void TearDown() override
    {
        if (!haveScreen())
            return;
        for (int k = 0; k < 4; ++k)
            obstacleKinds[k] = savedKinds[k];
        bridgeShadowBitmap = savedShadow;
        mixer = savedMixer;
        delete pair[0];
        delete pair[1];
        for (BITMAP* bmp : bitmaps)
            destroy_bitmap(bmp);
    }
    void place(int i, uint8_t riderState, float x, float height)
    {
        pair[i]->state = riderState;
        pair[i]->x = x;
        pair[i]->height = height;
    }
};

TEST_F(SceneFrame, EachRiderIsDrawnOnceInTheLayerOfItsState)
{
    struct Case {
        uint8_t state0, state1;
        float height0, height1;
        std::vector<int> order;
    };
    const Case cases[] = {
        {2, 2, 0.0f, 0.0f, {1, 0}},      // a tie: riders[0] on top
        {2, 2, 5.0f, 10.0f, {0, 1}},     // the higher one on top
        {1, 1, -80.0f, -80.0f, {1, 0}},
        {4, 4, 300.0f, 200.0f, {1, 0}},
        {1, 2, 50.0f, 0.0f, {0, 1}},     // the dived rider under, whatever the heights
        {4, 1, 100.0f, -80.0f, {1, 0}},
        {6, 2, 10.0f, 30.0f, {1, 0}},    // low in a jump: the air layer only
        {2, 6, 10.0f, 5.0f, {0, 1}},
        {6, 6, 10.0f, 10.0f, {1, 0}},
        {4, 6, 100.0f, 10.0f, {1, 0}},
    };
    for (const Case& c : cases) {
        place(0, c.state0, 300.0f, c.height0);
        place(1, c.state1, 300.0f, c.height1);
        drawLog.clear();
        ObstacleLanes lanes;
        renderFrame(lanes);
        EXPECT_EQ(drawLog, c.order) << "states " << int(c.state0) << ", " << int(c.state1);
        const int top = c.order.back();
        const int centre = static_cast<int>(500.0 - (top ? c.height1 : c.height0) / 5.0);
        EXPECT_EQ(getpixel(backBuffer, 300, centre), RIDER_COLOUR[top]);
    }
}

TEST_F(SceneFrame, WaterUnderBanksUnderRidersUnderTheHudAndTheFrameReachesTheScreen)
{
    place(0, STATE_AIRBORNE, 60.0f, 2250.0f); // body (35, 0)-(84, 99), over the HUD's place
    place(1, STATE_SURFACE, 780.0f, 0.0f);     // body (755, 450)-(804, 549), over the bank
    ObstacleLanes lanes;
    renderFrame(lanes);

    struct Expect {
        int x, y, colour;
    };
    const Expect expects[] = {
        {400, 300, WATER}, {60, 300, LEFT_BANK}, {0, 599, LEFT_BANK}, {740, 300, RIGHT_BANK},
        {799, 0, RIGHT_BANK}, {40, 60, RIDER_COLOUR[0]}, {30, 60, LEFT_BANK},
        {40, 500, SHADOW}, {760, 500, RIDER_COLOUR[1]}, {750, 500, RIGHT_BANK},
        {40, 22, WHITE}, {40, 27, RED}, {760, 27, RED},
    };
    for (const Expect& e : expects) {
        EXPECT_EQ(getpixel(backBuffer, e.x, e.y), e.colour) << e.x << ", " << e.y;
        EXPECT_EQ(getpixel(screen, e.x, e.y), e.colour) << "screen " << e.x << ", " << e.y;
    }
    // Drawing a frame advances both scrolls once.
    EXPECT_FLOAT_EQ(water.scrollOffset, 3.0f);
    EXPECT_FLOAT_EQ(banks.scrollOffset, 0.0f);
}

TEST_F(SceneFrame, RidersInterleaveWithTheObstacleLanes)
{
    obstacleKinds[KIND_ROCK].sprite.init(make(100, 100, ROCK), 100, 100, 0, 0, 1, 0, 1);
    obstacleKinds[KIND_BRIDGE].sprite.init(make(800, 40, BRIDGE), 800, 40, 0, 0, 1, 0, 1);
    bridgeShadowBitmap = make(800, 10, makecol(255, 0, 255));

    struct Case {
        uint8_t state;
        float height;
        int at470, at500, at540;
    };
    // Rock (200, 430)-(299, 529), bridge over rows 480-519, rider at x 250.
    const Case cases[] = {
        {STATE_SUBMERGED, -80.0f, ROCK, BRIDGE, RIDER_COLOUR[0]},
        {STATE_SURFACE, 0.0f, RIDER_COLOUR[0], BRIDGE, RIDER_COLOUR[0]},
        {STATE_SURFACE | STATE_AIRBORNE, 10.0f, RIDER_COLOUR[0], RIDER_COLOUR[0], RIDER_COLOUR[0]},
        {STATE_AIRBORNE, 100.0f, RIDER_COLOUR[0], RIDER_COLOUR[0], SHADOW},
    };
    for (const Case& c : cases) {
        ObstacleLanes lanes;
        srand(1);
        Obstacle rock(&obstacleKinds[KIND_ROCK].sprite, 3, 10, 0.0f, 0, SND_ROCK);
        rock.x = 200.0f;
        rock.y = 430.0f;
        lanes.lanes[KIND_ROCK].push_back(rock);
        Obstacle bridge(&obstacleKinds[KIND_BRIDGE].sprite, 4, 10, 0.0f, 0, SND_BRIDGE);
        bridge.x = 0.0f;
        bridge.y = 480.0f;
        lanes.lanes[KIND_BRIDGE].push_back(bridge);
        place(0, c.state, 250.0f, c.height);
        place(1, STATE_SURFACE, 600.0f, 0.0f);
        drawLog.clear();
        renderFrame(lanes);
        ASSERT_EQ(getpixel(backBuffer, 205, 435), ROCK) << "the rock lane drew no rock";
        EXPECT_EQ(drawLog.size(), 2u);
        EXPECT_EQ(getpixel(backBuffer, 250, 470), c.at470) << "state " << int(c.state);
        EXPECT_EQ(getpixel(backBuffer, 250, 500), c.at500) << "state " << int(c.state);
        EXPECT_EQ(getpixel(backBuffer, 250, 540), c.at540) << "state " << int(c.state);
    }
}

} // namespace
