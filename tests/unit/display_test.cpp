#include <gtest/gtest.h>

#include <allegro.h>
#include <cstdlib>
#include <cstring>

#include "presentation/display.h"

namespace {

struct Fit {
    int screenW, screenH;
    int x, y, w, h;
};

// The picture as large as the screen allows, its 4:3 shape kept, centred between bars.
TEST(Display, PictureFitsTheScreenInItsShape)
{
    const Fit fits[] = {
        {800, 600, 0, 0, 800, 600},      {1920, 1080, 240, 0, 1440, 1080},
        {3840, 2160, 480, 0, 2880, 2160}, {1280, 1024, 0, 32, 1280, 960},
        {2560, 1600, 213, 0, 2133, 1600}, {1600, 1200, 0, 0, 1600, 1200},
    };
    for (const Fit& f : fits) {
        const Placement p = fitPicture(800, 600, f.screenW, f.screenH);
        EXPECT_EQ(p.x, f.x) << f.screenW << "x" << f.screenH;
        EXPECT_EQ(p.y, f.y) << f.screenW << "x" << f.screenH;
        EXPECT_EQ(p.w, f.w) << f.screenW << "x" << f.screenH;
        EXPECT_EQ(p.h, f.h) << f.screenW << "x" << f.screenH;
    }
}

BITMAP* noise(int w, int h, unsigned seed)
{
    BITMAP* bmp = create_bitmap_ex(32, w, h);
    std::srand(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            putpixel(bmp, x, y, std::rand() & 0xFFFFFF);
    return bmp;
}

// Whole scales give the library's own stretch_blit pixel for pixel; any scale shows every
// pixel of the picture as a block of whole screen pixels, in order, none dropped.
TEST(Display, ScalingShowsEveryPixelAsABlock)
{
    BITMAP* picture = noise(800, 600, 7);
    for (int n = 1; n <= 4; ++n) {
        BITMAP* ours = create_bitmap_ex(32, 800 * n, 600 * n);
        BITMAP* library = create_bitmap_ex(32, 800 * n, 600 * n);
        scaleCopy(picture, ours);
        stretch_blit(picture, library, 0, 0, 800, 600, 0, 0, 800 * n, 600 * n);
        int differing = 0;
        for (int y = 0; y < ours->h; ++y)
            differing += std::memcmp(ours->line[y], library->line[y], ours->w * 4) != 0;
        EXPECT_EQ(differing, 0) << "scale " << n;
        destroy_bitmap(ours);
        destroy_bitmap(library);
    }
    for (int w : {1440, 2880, 1000, 801}) {
        const int h = w * 3 / 4;
        BITMAP* shown = create_bitmap_ex(32, w, h);
        scaleCopy(picture, shown);
        int lastColumn = -1;
        for (int x = 0; x < w; ++x) {
            // The column of the picture this screen column shows: its first pixel's match.
            int column = lastColumn < 0 ? 0 : lastColumn;
            while (column < 800 && getpixel(shown, x, 0) != getpixel(picture, column, 0))
                ++column;
            ASSERT_LT(column, 800) << w << ": screen column " << x << " shows no pixel of row 0";
            ASSERT_LE(column, lastColumn + 1) << w << ": a column of the picture was dropped";
            lastColumn = column;
        }
        EXPECT_EQ(lastColumn, 799) << w;
        destroy_bitmap(shown);
    }
    destroy_bitmap(picture);
}

} // namespace
