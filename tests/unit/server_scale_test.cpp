#include <gtest/gtest.h>

#include <allegro.h>
#include <cstdint>
#include <cstdlib>
#include <xalleg.h>

#include "harness.h"
#include "presentation/display.h"
#include "presentation/server_scale.h"

namespace {

BITMAP* noise(int w, int h, unsigned seed)
{
    BITMAP* bmp = create_bitmap_ex(32, w, h);
    std::srand(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<uint32_t*>(bmp->line[y])[x] = std::rand() & 0xFFFFFF;
    return bmp;
}

// Pixels of the window at `where` that differ from `expected` (its size), as the server has
// them once it has done all it was asked.
int differingFromWindow(const Placement& where, BITMAP* expected)
{
    XLOCK();
    XSync(_xwin.display, False);
    XImage* image = XGetImage(_xwin.display, _xwin.window, where.x, where.y, where.w, where.h, AllPlanes, ZPixmap);
    XUNLOCK();
    if (!image)
        return where.w * where.h;
    int differing = 0;
    for (int y = 0; y < where.h; ++y)
        for (int x = 0; x < where.w; ++x)
            differing += (XGetPixel(image, x, y) & 0xFFFFFF) != reinterpret_cast<uint32_t*>(expected->line[y])[x];
    XDestroyImage(image);
    return differing;
}

struct Case {
    const char* what;
    int pictureW, pictureH;
    Placement where;
};

// The X server, asked to scale a picture, shows in the window exactly the pixels our own
// scaling makes, at whole scales and at the broken ones of common desktops; and it shows them
// again after the window was uncovered (the library repaints it from its own copy, where the
// picture never is).
TEST(ServerScale, ShowsWhatOurScalingMakes)
{
    ASSERT_TRUE(haveScreen()) << "the server scales into the real window";
    const Case cases[] = {
        {"twice", 200, 150, {10, 20, 400, 300}},
        {"three times", 200, 150, {0, 0, 600, 450}},
        {"1.8 times, as on 1920 x 1080", 200, 150, {30, 40, 360, 270}},
        {"3.6 times, as on 3840 x 2160", 160, 120, {5, 7, 576, 432}},
        {"2.67 times, as on 2560 x 1600", 200, 150, {1, 2, 533, 400}},
        {"1.6 times, as on 1280 x 1024", 200, 150, {3, 11, 320, 240}},
        {"nearly the window, 797 x 597", 200, 150, {1, 2, 797, 597}},
    };
    for (const Case& c : cases) {
        BITMAP* picture = noise(c.pictureW, c.pictureH, c.where.w);
        BITMAP* ours = create_bitmap_ex(32, c.where.w, c.where.h);
        scaleCopy(picture, ours);
        ASSERT_TRUE(startServerScaling(c.where, c.pictureW, c.pictureH)) << "no scaling by the X server";
        ASSERT_TRUE(showServerScaled(picture)) << c.what;
        EXPECT_EQ(differingFromWindow(c.where, ours), 0) << c.what;

        // Uncovered: the server clears the window and the library's thread repaints it.
        XLOCK();
        XClearArea(_xwin.display, _xwin.window, 0, 0, 0, 0, True);
        XUNLOCK();
        int differing = 0;
        for (int tries = 0; tries < 40 && (differing = differingFromWindow(c.where, ours)) != 0; ++tries)
            rest(50);
        EXPECT_EQ(differing, 0) << c.what << ", after the window was uncovered";

        stopServerScaling();
        EXPECT_FALSE(showServerScaled(picture)) << "shown by the server after it was stopped";
        destroy_bitmap(ours);
        destroy_bitmap(picture);
    }
}

} // namespace
