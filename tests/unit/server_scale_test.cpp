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

// One case, the picture sent `how`: what the window shows, then what it shows after it was
// uncovered.
void expectOurPixels(const Case& c, const char* how)
{
    BITMAP* picture = noise(c.pictureW, c.pictureH, c.where.w);
    BITMAP* ours = create_bitmap_ex(32, c.where.w, c.where.h);
    scaleCopy(picture, ours);
    ASSERT_TRUE(startServerScaling(c.where, c.pictureW, c.pictureH)) << "no scaling by the X server";
    ASSERT_TRUE(showServerScaled(picture)) << c.what;
    EXPECT_EQ(differingFromWindow(c.where, ours), 0) << c.what << ", through " << how;

    // Uncovered: the server clears the window and the library's thread repaints it, within
    // ten seconds however busy the machine.
    XLOCK();
    XClearArea(_xwin.display, _xwin.window, 0, 0, 0, 0, True);
    XUNLOCK();
    int differing = 0;
    for (int tries = 0; tries < 200 && (differing = differingFromWindow(c.where, ours)) != 0; ++tries)
        rest(50);
    EXPECT_EQ(differing, 0) << c.what << ", through " << how << ", after the window was uncovered";

    stopServerScaling();
    EXPECT_FALSE(showServerScaled(picture)) << "shown by the server after it was stopped";
    destroy_bitmap(ours);
    destroy_bitmap(picture);
}

// The X server, asked to scale a picture, shows in the window exactly the pixels our own
// scaling makes, at whole scales and at the broken ones of common desktops; and it shows them
// again after the window was uncovered (the library repaints it from its own copy, where the
// picture never is). The picture goes through memory shared with the server, as on a local
// display, and through the connection, as on a remote one.
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
    const int libraryShares = _xwin.use_shm;
    EXPECT_TRUE(libraryShares) << "the library shares no memory with this X server";
    for (const Case& c : cases)
        expectOurPixels(c, "shared memory");
    // The library's driver says whether memory is shared with the server; it is asked again
    // each time the server's scaling starts.
    _xwin.use_shm = 0;
    for (const Case& c : cases)
        expectOurPixels(c, "the connection");
    _xwin.use_shm = libraryShares;
}

} // namespace
