#include <gtest/gtest.h>

#include "scene_support.h"

using namespace scene_test;

namespace {

const int BODY = 0x00c000;
const int SECOND_FRAME = 0x00a0a0;

struct SceneRiderDraw : ::testing::Test {
    SceneState state;
    Rider* rider = nullptr;
    BITMAP* bodyStrip = nullptr;
    BITMAP* shadow = nullptr;
    BITMAP* dest = nullptr;

    void SetUp() override
    {
        // Two 50 x 100 frames: the first BODY, the second SECOND_FRAME.
        bodyStrip = solidBitmap(100, 100, BODY);
        rectfill(bodyStrip, 50, 0, 99, 99, SECOND_FRAME);
        shadow = solidBitmap(50, 100, SHADOW);
        rider = new Rider;
        rider->surfaceSprite.init(bodyStrip, 50, 100, 25, 50, 2, 0, 1);
        rider->airborneSprite.init(bodyStrip, 50, 100, 25, 50, 1, 0, 1);
        rider->shadowSprite.init(shadow, 50, 100, 25, 50, 1, 0, 1);
        rider->currentSprite = &rider->surfaceSprite;
        rider->x = 250.0f;
        rider->height = 0.0f;
        rider->state = STATE_SURFACE;
        rider->blinkUntil = 0;
        ticks = 100;
        dest = solidBitmap(400, 600, untouched());
    }
    void TearDown() override
    {
        delete rider;
        destroy_bitmap(dest);
        destroy_bitmap(shadow);
        destroy_bitmap(bodyStrip);
    }

    // The 50 x 100 box with top-left (left, top) holds `colour`, and the pixels just outside
    // its four sides do not.
    void expectBox(int left, int top, int colour)
    {
        EXPECT_EQ(getpixel(dest, left, top), colour);
        EXPECT_EQ(getpixel(dest, left + 49, top + 99), colour);
        EXPECT_NE(getpixel(dest, left - 1, top), colour);
        EXPECT_NE(getpixel(dest, left + 50, top + 99), colour);
        EXPECT_NE(getpixel(dest, left, top - 1), colour);
        EXPECT_NE(getpixel(dest, left + 49, top + 100), colour);
    }
    bool anythingDrawn()
    {
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 400; ++x)
                if (getpixel(dest, x, y) != untouched())
                    return true;
        return false;
    }
};

TEST_F(SceneRiderDraw, FloatingRiderIsCentredOnTheWaterLine)
{
    rider->draw(dest);
    expectBox(225, 450, BODY);
}

TEST_F(SceneRiderDraw, DivedRiderIsDrawnLowerAndPositionsTruncate)
{
    rider->height = -80.0f;
    rider->draw(dest);
    expectBox(225, 466, BODY);

    clear_to_color(dest, untouched());
    rider->x = 250.9f;
    rider->height = 7.0f; // 500 - 1.4 = 498.6
    rider->draw(dest);
    expectBox(225, 448, BODY);

    clear_to_color(dest, untouched());
    rider->height = -7.0f; // 501.4
    rider->draw(dest);
    expectBox(225, 451, BODY);
}

TEST_F(SceneRiderDraw, BodyAnimatesWithItsOwnStoredPhase)
{
    rider->surfaceSprite.phase = 1; // at tick 100 the second frame, with phase 0 the first
    rider->draw(dest);
    expectBox(225, 450, SECOND_FRAME);
}

TEST_F(SceneRiderDraw, AirborneRiderLeavesItsShadowOnTheWaterLine)
{
    rider->state = STATE_AIRBORNE;
    rider->currentSprite = &rider->airborneSprite;
    rider->height = 100.0f;
    rider->draw(dest);
    expectBox(225, 430, BODY);
    EXPECT_EQ(getpixel(dest, 225, 530), SHADOW);
    EXPECT_EQ(getpixel(dest, 274, 549), SHADOW);
    EXPECT_EQ(getpixel(dest, 225, 550), untouched());

    clear_to_color(dest, untouched());
    rider->state = STATE_AIRBORNE | STATE_SURFACE;
    rider->height = 10.0f;
    rider->draw(dest);
    expectBox(225, 448, BODY);
    EXPECT_EQ(getpixel(dest, 225, 548), SHADOW);
}

TEST_F(SceneRiderDraw, RidersOnOrUnderTheWaterCastNoShadow)
{
    for (uint8_t s : {STATE_SURFACE, STATE_SUBMERGED}) {
        clear_to_color(dest, untouched());
        rider->state = s;
        rider->height = s == STATE_SURFACE ? 100.0f : 0.0f;
        rider->draw(dest);
        EXPECT_EQ(getpixel(dest, 225, 549), s == STATE_SURFACE ? untouched() : BODY);
        EXPECT_NE(getpixel(dest, 225, 530), SHADOW);
    }
}

TEST_F(SceneRiderDraw, AHitBlinksTwoTicksOffTwoOnUntilItRunsOut)
{
    // d = blinkUntil - ticks over the ten ticks after a hit, then the time after it.
    const bool shownAt[11] = {true, false, true, true, false, false, true, true, false, false,
                              true};
    for (int d = 10; d >= 0; --d) {
        clear_to_color(dest, untouched());
        rider->blinkUntil = 100 + d;
        rider->draw(dest);
        EXPECT_EQ(anythingDrawn(), shownAt[d]) << "d = " << d;
    }
    for (uint32_t t : {0u, 1u, 5u, 100u}) {
        clear_to_color(dest, untouched());
        ticks = t;
        rider->blinkUntil = 0;
        rider->draw(dest);
        EXPECT_TRUE(anythingDrawn()) << "ticks " << t;
    }
}

TEST_F(SceneRiderDraw, ABlinkingJumperLosesItsShadowToo)
{
    rider->state = STATE_AIRBORNE;
    rider->height = 100.0f;
    rider->blinkUntil = 101;
    rider->draw(dest);
    EXPECT_FALSE(anythingDrawn());
    rider->blinkUntil = 102;
    rider->draw(dest);
    EXPECT_EQ(getpixel(dest, 225, 530), SHADOW);
}

} // namespace
