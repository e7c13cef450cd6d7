#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "harness.h"
#include "classic/frame.h"
#include "scene_support.h"

using namespace scene_test;

namespace {

const int BLACK = 0;
const int BLUE = 0xff;

struct SceneHud : ::testing::Test {
    SceneState state;
    Rider* pair[2] = {nullptr, nullptr};
    BITMAP* dest = nullptr;

    void SetUp() override
    {
        if (!haveScreen())
            FAIL() << "no 800 x 600 screen: the unit tests run under tests/e2e/xvfb.sh";
        for (int i = 0; i < 2; ++i) {
            pair[i] = new Rider;
            pair[i]->health = 200;
            pair[i]->mass = 100.0f;
            riders[i] = pair[i];
        }
        std::strcpy(pair[0]->name, "Rudko");
        std::strcpy(pair[1]->name, "Berto");
        dest = solidBitmap(800, 600, untouched());
    }
    void TearDown() override
    {
        delete pair[0];
        delete pair[1];
        if (dest)
            destroy_bitmap(dest);
    }

    // The columns of row y from x0 to x1 inclusive that hold `colour`, as [first, last];
    // checks that they are one unbroken run.
    std::pair<int, int> run(int y, int colour, int x0, int x1)
    {
        int first = -1, last = -1;
        for (int x = x0; x <= x1; ++x) {
            if (getpixel(dest, x, y) == colour) {
                if (first < 0)
                    first = x;
                EXPECT_EQ(last, first < x ? x - 1 : -1) << "gap before x " << x;
                last = x;
            }
        }
        return {first, last};
    }
    void draw(int health0, float mass0, int health1, float mass1)
    {
        clear_to_color(dest, untouched());
        pair[0]->health = health0;
        pair[0]->mass = mass0;
        pair[1]->health = health1;
        pair[1]->mass = mass1;
        drawHud(dest);
    }
    using Run = std::pair<int, int>;
};

TEST_F(SceneHud, FullHealthAndMinimumMassFillExactlyTheirColumns)
{
    draw(200, 100.0f, 200, 100.0f);
    EXPECT_EQ(run(27, RED, 0, 150), Run(12, 108));
    EXPECT_EQ(run(27, RED, 600, 799), Run(692, 788));
    EXPECT_EQ(run(42, BLUE, 0, 150), Run(12, 12));
    EXPECT_EQ(run(42, BLUE, 600, 799), Run(788, 788));
    // The frames: white rings 100 wide round black interiors.
    EXPECT_EQ(getpixel(dest, 10, 22), WHITE);
    EXPECT_EQ(getpixel(dest, 110, 32), WHITE);
    EXPECT_EQ(getpixel(dest, 11, 23), WHITE);
    EXPECT_EQ(getpixel(dest, 111, 27), untouched());
    EXPECT_EQ(getpixel(dest, 10, 33), untouched());
    EXPECT_EQ(getpixel(dest, 13, 42), BLACK);
    EXPECT_EQ(getpixel(dest, 108, 45), BLACK);
    EXPECT_EQ(getpixel(dest, 110, 47), WHITE);
    EXPECT_EQ(getpixel(dest, 690, 22), WHITE);
    EXPECT_EQ(getpixel(dest, 689, 27), untouched());
    EXPECT_EQ(getpixel(dest, 790, 47), WHITE);
    EXPECT_EQ(getpixel(dest, 791, 40), untouched());
    EXPECT_EQ(getpixel(dest, 692, 39), BLACK);
    for (int y : {24, 30}) {
        EXPECT_EQ(run(y, RED, 0, 150), Run(12, 108));
        EXPECT_EQ(run(y, RED, 600, 799), Run(692, 788));
    }
    EXPECT_EQ(getpixel(dest, 50, 23), WHITE);
    EXPECT_EQ(getpixel(dest, 50, 31), WHITE);
}

TEST_F(SceneHud, NoHealthAndFullMass)
{
    draw(0, 150.0f, 0, 150.0f);
    EXPECT_EQ(run(27, RED, 0, 150), Run(12, 12));
    EXPECT_EQ(getpixel(dest, 13, 27), BLACK);
    EXPECT_EQ(run(27, RED, 600, 799), Run(788, 788));
    EXPECT_EQ(getpixel(dest, 787, 27), BLACK);
    EXPECT_EQ(run(42, BLUE, 0, 150), Run(12, 108));
    EXPECT_EQ(run(42, BLUE, 600, 799), Run(692, 788));
}

TEST_F(SceneHud, FillEdgesAreWorkedOutInFloatingPointThenTruncated)
{
    // Integer arithmetic would give 12 / 788 for health 1 and 12 + 48 / 716 for 101 / 150.
    draw(1, 125.3f, 1, 125.3f);
    EXPECT_EQ(run(27, RED, 0, 150), Run(12, 12));
    EXPECT_EQ(run(27, RED, 600, 799), Run(787, 788));
    EXPECT_EQ(run(42, BLUE, 0, 150), Run(12, 60));
    EXPECT_EQ(run(42, BLUE, 600, 799), Run(739, 788));

    draw(101, 100.0f, 150, 100.0f);
    EXPECT_EQ(run(27, RED, 0, 150), Run(12, 60));
    EXPECT_EQ(run(27, RED, 600, 799), Run(716, 788));
    draw(199, 100.0f, 199, 100.0f);
    EXPECT_EQ(run(27, RED, 0, 150), Run(12, 107));
    EXPECT_EQ(run(27, RED, 600, 799), Run(692, 788));
}

TEST_F(SceneHud, HealthBelowZeroSpillsOverTheFrame)
{
    // -30: left edge 12 - 14.4 = -2.4 -> -2; right edge 692 + 110.4 -> 802, clipped.
    draw(-30, 100.0f, -30, 100.0f);
    EXPECT_EQ(run(27, RED, 0, 150), Run(0, 12));
    EXPECT_EQ(run(27, RED, 600, 799), Run(788, 799));
    EXPECT_EQ(getpixel(dest, 10, 23), WHITE);
    EXPECT_EQ(getpixel(dest, 790, 31), WHITE);
}

TEST_F(SceneHud, NamesAreWhiteTextOnAClearBackground)
{
    std::strcpy(pair[1]->name, "%s%n");
    draw(200, 100.0f, 200, 100.0f);
    const int white = makecol(255, 255, 255);
    int minX = 800, maxX = -1, untouchedInBox = 0;
    for (int y = 10; y < 10 + text_height(font); ++y) {
        for (int x = 0; x < 800; ++x) {
            const int c = getpixel(dest, x, y);
            if (c == white) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            } else if (c == untouched()) {
                ++untouchedInBox;
            } else {
                ADD_FAILURE() << "text pixel of another colour at " << x << ", " << y;
            }
        }
    }
    // Left name starts at x 10; the right one, printed literally, ends before x 790.
    EXPECT_GE(minX, 10);
    EXPECT_LT(minX, 10 + text_length(font, "R"));
    EXPECT_LT(maxX, 790);
    EXPECT_GE(maxX, 790 - text_length(font, "n"));
    EXPECT_GT(untouchedInBox, 0);
    // Printed literally, the right name is as wide as its own four characters.
    const int rightStart = 790 - text_length(font, "%s%n");
    int leftmostRight = 800;
    for (int y = 10; y < 10 + text_height(font); ++y)
        for (int x = 400; x < 800; ++x)
            if (getpixel(dest, x, y) == white)
                leftmostRight = std::min(leftmostRight, x);
    EXPECT_GE(leftmostRight, rightStart);
    EXPECT_LT(leftmostRight, rightStart + text_length(font, "%"));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(getpixel(dest, x, 12), untouched());
}

} // namespace
