#include <gtest/gtest.h>

#include "harness.h"
#include "presentation/image_source.h"
#include "scene_support.h"

using namespace scene_test;

namespace {

// An 8 x 10 water tile whose every pixel names its own column and row.
int tileColour(int column, int row)
{
    return makecol(10 + column * 20, 10 + row * 20, 99);
}

struct SceneWater : ::testing::Test {
    SceneState state;
    BITMAP* tile = nullptr;
    BITMAP* dest = nullptr;

    void SetUp() override
    {
        tile = create_bitmap(8, 10);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 8; ++c)
                putpixel(tile, c, r, tileColour(c, r));
        water.texture = tile;
        water.textureWidth = 8;
        water.textureHeight = 10;
        water.flowSpeed = 3.0f;
        riverSpeed = 0.0f;
        dest = solidBitmap(60, 60, untouched());
    }
    void TearDown() override
    {
        destroy_bitmap(dest);
        destroy_bitmap(tile);
    }

    // Draws 3 columns and 4 rows from (5, 2); `rowAt(y)` is the tile row expected at dest
    // row y, or -1 where the water must not reach.
    template <typename RowAt>
    void expectTiling(RowAt rowAt)
    {
        water.draw(dest, 3, 4, 5, 2);
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 60; ++x) {
                const int row = rowAt(y);
                const bool inside = x >= 5 && x < 29 && row >= 0;
                const int expected = inside ? tileColour((x - 5) % 8, row) : untouched();
                ASSERT_EQ(getpixel(dest, x, y), expected) << "at (" << x << ", " << y << ")";
            }
        }
    }
};

TEST_F(SceneWater, UnscrolledTilingCoversColumnsTimesRowsTiles)
{
    water.scrollOffset = 0.0f;
    expectTiling([](int y) { return y >= 2 && y < 42 ? (y - 2) % 10 : -1; });
}

TEST_F(SceneWater, FractionalScrollTruncatesEveryStripPosition)
{
    // s = 3.5: whole rows from y 5, the tile's rows 6-8 above them (row 9 is skipped by the
    // truncated strip), rows 0-5 under the last whole row, and nothing on y 41.
    water.scrollOffset = 3.5f;
    expectTiling([](int y) {
        if (y >= 2 && y < 5)
            return 6 + (y - 2);
        if (y >= 5 && y < 35)
            return (y - 5) % 10;
        if (y >= 35 && y < 41)
            return y - 35;
        return -1;
    });
}

TEST_F(SceneWater, ScrollAdvancesByFlowPlusRiverModuloTileHeight)
{
    water.scrollOffset = 0.0f;
    const float expected[] = {3.0f, 6.0f, 9.0f, 2.0f, 5.0f};
    for (float s : expected) {
        water.draw(dest, 3, 4, 5, 2);
        EXPECT_FLOAT_EQ(water.scrollOffset, s);
    }
    water.scrollOffset = 3.5f;
    riverSpeed = 14.8f;
    water.draw(dest, 3, 4, 5, 2);
    EXPECT_FLOAT_EQ(water.scrollOffset, 1.3000002f);
}

BITMAP* loadedTile = nullptr;
BITMAP* tileReader(const char*)
{
    return loadedTile;
}

TEST(SceneWaterLoad, TakesTheTileSizeFromTheImageAndRefusesAnEmptyTile)
{
    SceneState state;
    BITMAP* (*const savedReader)(const char*) = imageReader;
    imageReader = tileReader;

    loadedTile = create_bitmap(13, 7);
    EXPECT_FALSE(water.load("tile"));
    EXPECT_EQ(water.texture, loadedTile);
    EXPECT_EQ(water.textureWidth, 13);
    EXPECT_EQ(water.textureHeight, 7);
    destroy_bitmap(loadedTile);

    water.texture = nullptr;
    loadedTile = nullptr;
    EXPECT_TRUE(water.load("missing"));
    EXPECT_EQ(water.texture, nullptr);

    for (int size : {0, 1}) {
        loadedTile = create_bitmap(size ? 16 : 0, size ? 0 : 16);
        ASSERT_NE(loadedTile, nullptr);
        EXPECT_TRUE(water.load("empty"));
        EXPECT_EQ(water.texture, nullptr);
    }
    loadedTile = nullptr;
    imageReader = savedReader;
}

// Bank strips of four 100 x 600 frames; the colour names side, frame, column and row.
int bankColour(int side, int frame, int column, int row)
{
    return makecol(20 + 40 * frame + 10 * side, (row >> 8) * 80 + (column & 63), row & 255);
}

struct SceneBanks : ::testing::Test {
    SceneState state;
    BITMAP* strips[2] = {nullptr, nullptr};
    BITMAP* dest = nullptr;

    void SetUp() override
    {
        if (!haveScreen())
            FAIL() << "no 800 x 600 screen: the unit tests run under tests/e2e/xvfb.sh";
        for (int side = 0; side < 2; ++side) {
            strips[side] = create_bitmap(400, 600);
            for (int y = 0; y < 600; ++y)
                for (int x = 0; x < 400; ++x)
                    putpixel(strips[side], x, y, bankColour(side, x / 100, x % 100, y));
        }
        banks.left.init(strips[0], 100, 600, 0, 0, 4, 0, 9);
        banks.right.init(strips[1], 100, 600, 0, 0, 4, 0, 9);
        dest = solidBitmap(800, 600, untouched());
        ticks = 9; // the second frame of the strips
        riverSpeed = 1.0f;
    }
    void TearDown() override
    {
        if (dest)
            destroy_bitmap(dest);
        for (BITMAP* strip : strips)
            if (strip)
                destroy_bitmap(strip);
    }
    void expectBankRow(int destRow, int frameRow)
    {
        EXPECT_EQ(getpixel(dest, 0, destRow), bankColour(0, 1, 0, frameRow)) << destRow;
        EXPECT_EQ(getpixel(dest, 99, destRow), bankColour(0, 1, 99, frameRow)) << destRow;
        EXPECT_EQ(getpixel(dest, 700, destRow), bankColour(1, 1, 0, frameRow)) << destRow;
        EXPECT_EQ(getpixel(dest, 799, destRow), bankColour(1, 1, 99, frameRow)) << destRow;
        EXPECT_EQ(getpixel(dest, 100, destRow), untouched());
        EXPECT_EQ(getpixel(dest, 699, destRow), untouched());
    }
};

TEST_F(SceneBanks, AtNearlyAScreenTheCopiesLandOnRows599And0)
{
    banks.scrollOffset = 599.5f;
    banks.draw(dest);
    // The copy at y 599 is drawn first and the one at y 0 (-0.5 truncated) over it; had
    // -0.5 become -1, row 599 would show the lower copy's top row.
    expectBankRow(0, 0);
    expectBankRow(300, 300);
    expectBankRow(599, 599);
    EXPECT_FLOAT_EQ(banks.scrollOffset, 0.5f);
}

TEST_F(SceneBanks, AtHalfAPixelTheUpperCopyShowsOnlyItsLastRow)
{
    banks.scrollOffset = 0.5f;
    banks.draw(dest);
    expectBankRow(0, 599);
    expectBankRow(1, 1);
    expectBankRow(599, 599);
    EXPECT_FLOAT_EQ(banks.scrollOffset, 1.5f);
}

TEST_F(SceneBanks, StandStillWhileTheRiverDoesButTheWaterFlows)
{
    riverSpeed = 0.0f;
    banks.scrollOffset = 42.0f;
    banks.draw(dest);
    EXPECT_FLOAT_EQ(banks.scrollOffset, 42.0f);
    expectBankRow(42, 0);
    expectBankRow(41, 599);

    BITMAP* tile = solidBitmap(200, 150, makecol(0, 0, 200));
    water.texture = tile;
    water.textureWidth = 200;
    water.textureHeight = 150;
    water.scrollOffset = 0.0f;
    water.flowSpeed = 3.0f;
    water.draw(dest, 4, 5, 50, 0);
    EXPECT_FLOAT_EQ(water.scrollOffset, 3.0f);
    destroy_bitmap(tile);
}

} // namespace
