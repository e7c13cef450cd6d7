// Sprites pick their frame from the clock; these read the drawn pixels back to see which.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/clock.h"
#include "harness.h"
#include "presentation/sprite.h"

namespace {

constexpr int frameW = 50;
constexpr int frameH = 60;

int frameColour(int frame)
{
    return makecol(40 + 50 * frame, 200 - 40 * frame, 30 * frame);
}

struct SpriteFrames : ::testing::Test {
    BITMAP* strip = nullptr;
    BITMAP* dest = nullptr;
    uint32_t savedTicks = 0;
    int background = 0;

    void SetUp() override
    {
        savedTicks = ticks.load();
        // Four frames side by side, each a solid colour with one mask-coloured pixel at (10, 10).
        strip = create_bitmap(4 * frameW, frameH);
        for (int f = 0; f < 4; ++f) {
            rectfill(strip, f * frameW, 0, f * frameW + frameW - 1, frameH - 1, frameColour(f));
            putpixel(strip, f * frameW + 10, 10, makecol(255, 0, 255));
        }
        dest = create_bitmap(800, 600);
        background = makecol(1, 2, 3);
        clear_to_color(dest, background);
    }

    void TearDown() override
    {
        destroy_bitmap(strip);
        destroy_bitmap(dest);
        ticks = savedTicks;
    }

    // Which frame was drawn with its top-left corner at (x, y): -1 for none.
    int frameAt(int x, int y)
    {
        const int c = getpixel(dest, x + 1, y + 1);
        for (int f = 0; f < 4; ++f)
            if (c == frameColour(f))
                return f;
        return -1;
    }

    int drawnAt(Sprite& s, uint32_t now)
    {
        clear_to_color(dest, background);
        ticks = now;
        s.draw(dest, 100, 100);
        return frameAt(100, 100);
    }
};

TEST_F(SpriteFrames, SingleFrameAlwaysShowsItsOnlyFrame)
{
    AnimatedSprite s;
    s.init(strip, frameW, frameH, 0, 0, 1, 0, 1);
    for (uint32_t now : {0u, 1u, 7u, 123456u, 0xffffffffu})
        EXPECT_EQ(drawnAt(s, now), 0) << now;
}

TEST_F(SpriteFrames, FourFramesOfFiveTicksFollowTheClock)
{
    AnimatedSprite s;
    s.init(strip, frameW, frameH, 0, 0, 4, 0, 5);
    const int expected[21] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 0};
    for (uint32_t now = 0; now <= 20; ++now)
        EXPECT_EQ(drawnAt(s, now), expected[now]) << "tick " << now;
}

TEST_F(SpriteFrames, PhaseAheadOfTheClockWrapsAround)
{
    AnimatedSprite s;
    s.init(strip, frameW, frameH, 0, 0, 4, 10, 5);
    // 2^32 - 10 leaves 6 modulo 20: frame 1, not the frame 2 a signed difference would give.
    EXPECT_EQ(drawnAt(s, 0), 1);
    EXPECT_EQ(drawnAt(s, 9), 3);
    EXPECT_EQ(drawnAt(s, 10), 0);
    EXPECT_EQ(drawnAt(s, 15), 1);
    EXPECT_EQ(drawnAt(s, 29), 3);
    EXPECT_EQ(drawnAt(s, 30), 0);
}

TEST_F(SpriteFrames, DrawPhaseUsesTheGivenPhaseInsteadOfTheStoredOne)
{
    AnimatedSprite s;
    s.init(strip, frameW, frameH, 0, 0, 4, 3, 5);
    for (uint32_t now : {0u, 7u, 37u, 0xfffffff0u}) {
        ticks = now;
        clear_to_color(dest, background);
        s.drawPhase(dest, 100, 100, now);
        EXPECT_EQ(frameAt(100, 100), 0) << now;
    }
    ticks = 17;
    clear_to_color(dest, background);
    s.drawPhase(dest, 100, 100, 2); // 15 ticks in
    EXPECT_EQ(frameAt(100, 100), 3);
    EXPECT_EQ(drawnAt(s, 17), 2); // the stored phase is untouched: 14 ticks in
}

TEST_F(SpriteFrames, HotSpotIsPlacedAtTheGivenPosition)
{
    AnimatedSprite s;
    s.init(strip, frameW, frameH, 25, 50, 4, 0, 5);
    ticks = 5;
    s.draw(dest, 250, 500);
    EXPECT_EQ(getpixel(dest, 225, 450), frameColour(1));
    EXPECT_EQ(getpixel(dest, 274, 509), frameColour(1));
    EXPECT_EQ(getpixel(dest, 224, 450), background);
    EXPECT_EQ(getpixel(dest, 225, 449), background);
    EXPECT_EQ(getpixel(dest, 275, 509), background);
    EXPECT_EQ(getpixel(dest, 274, 510), background);
    // Masked: the mask-coloured pixel lets the background through.
    EXPECT_EQ(getpixel(dest, 235, 460), background);
}

TEST_F(SpriteFrames, PlainSpriteDrawsItsFirstFrameOpaquelyWhateverThePhase)
{
    Sprite s;
    s.init(strip, frameW, frameH, 0, 0, 4, 0, 5);
    EXPECT_EQ(drawnAt(s, 7), 0);
    EXPECT_EQ(getpixel(dest, 110, 110), makecol(255, 0, 255));
    EXPECT_EQ(getpixel(dest, 149, 159), frameColour(0));
    EXPECT_EQ(getpixel(dest, 150, 159), background);
    clear_to_color(dest, background);
    s.drawPhase(dest, 100, 100, 2);
    EXPECT_EQ(frameAt(100, 100), 0);
    // Through the base class, an animated sprite still animates.
    AnimatedSprite animated;
    animated.init(strip, frameW, frameH, 0, 0, 4, 0, 5);
    Sprite& base = animated;
    EXPECT_EQ(drawnAt(base, 7), 1);
}

TEST_F(SpriteFrames, UninitialisedSpritesDrawNothing)
{
    ticks = 12;
    AnimatedSprite animated;
    Sprite plain;
    EXPECT_EQ(plain.ticksPerFrame, 1);
    EXPECT_EQ(plain.bitmap, nullptr);
    animated.draw(dest, 100, 100);
    animated.drawPhase(dest, 100, 100, 3);
    plain.draw(dest, 100, 100);
    // A bitmap but no frames, or no ticks per frame.
    animated.init(strip, frameW, frameH, 0, 0, 0, 0, 5);
    animated.draw(dest, 100, 100);
    animated.init(strip, frameW, frameH, 0, 0, 4, 0, 0);
    animated.draw(dest, 100, 100);
    EXPECT_EQ(getpixel(dest, 101, 101), background);
}

TEST_F(SpriteFrames, CycleWhoseLowBitsAreZeroStillPicksAFrame)
{
    // 65536 frames of 65536 ticks: the 32-bit cycle is 0, the animation simply never wraps.
    AnimatedSprite s;
    s.init(strip, frameW, frameH, 0, 0, 65536, 0, 65536);
    EXPECT_EQ(drawnAt(s, 65535), 0);
    EXPECT_EQ(drawnAt(s, 65536), 1);
    EXPECT_EQ(drawnAt(s, 3u * 65536u + 9u), 3);
    EXPECT_EQ(drawnAt(s, 0xffffffffu), -1); // frame 65535 lies past the strip: clipped away
}

} // namespace
