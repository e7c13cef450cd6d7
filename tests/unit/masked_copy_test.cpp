// The quick masked copy must leave exactly the pixels masked_blit leaves, clipping included.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "harness.h"
#include "presentation/image_source.h"
#include "presentation/masked_copy.h"

namespace {

uint32_t randomPixel()
{
    // Plenty of the mask colour, and near-misses of it, between ordinary colours.
    switch (std::rand() % 5) {
    case 0:
    case 1: return 0x00FF00FFu;
    case 2: return std::rand() % 2 ? 0xFFFF00FFu : 0x00FF00FEu;
    default: return static_cast<uint32_t>(std::rand()) ^ (static_cast<uint32_t>(std::rand()) << 16);
    }
}

void fillRandom(BITMAP* bmp)
{
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x)
            reinterpret_cast<uint32_t*>(bmp->line[y])[x] = randomPixel();
}

// First difference between two bitmaps of one size, or "" when they are the same.
std::string firstDifference(BITMAP* a, BITMAP* b)
{
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w && std::memcmp(a->line[y], b->line[y], a->w * 4u) != 0; ++x)
            if (getpixel(a, x, y) != getpixel(b, x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return "";
}

int around(int range)
{
    return std::rand() % (range + 60) - 30;
}

}  // namespace

TEST(MaskedCopy, LeavesTheSamePixelsAsMaskedBlitWhereverTheRectangleFalls)
{
    std::srand(2026);
    BITMAP* src = create_bitmap(37, 23);
    BITMAP* expected = create_bitmap(61, 41);
    BITMAP* got = create_bitmap(61, 41);
    for (int round = 0; round < 3000; ++round) {
        fillRandom(src);
        fillRandom(expected);
        set_clip_rect(got, 0, 0, got->w - 1, got->h - 1);
        blit(expected, got, 0, 0, 0, 0, expected->w, expected->h);
        if (round % 3 == 0) {
            const int l = std::rand() % 30, t = std::rand() % 20;
            set_clip_rect(expected, l, t, l + std::rand() % 40, t + std::rand() % 30);
            set_clip_rect(got, expected->cl, expected->ct, expected->cr - 1, expected->cb - 1);
        } else {
            set_clip_rect(expected, 0, 0, expected->w - 1, expected->h - 1);
        }
        const int sx = around(src->w), sy = around(src->h);
        const int dx = around(got->w), dy = around(got->h);
        const int w = std::rand() % 70 - 5, h = std::rand() % 50 - 5;
        masked_blit(src, expected, sx, sy, dx, dy, w, h);
        maskedCopy(src, got, sx, sy, dx, dy, w, h);
        ASSERT_EQ(firstDifference(expected, got), "")
            << "round " << round << ": from (" << sx << ", " << sy << ") to (" << dx << ", "
            << dy << "), " << w << " x " << h;
    }
    destroy_bitmap(src);
    destroy_bitmap(expected);
    destroy_bitmap(got);
}

// Kept art is drawn from its rows' stretches: solid ones copied whole, long holes skipped.
// Rows of runs of every length, art and holes, near the short-hole limit and at the edges.
TEST(MaskedCopy, KeptArtLeavesTheSamePixelsAsMaskedBlit)
{
    std::srand(16);
    BITMAP* src = create_bitmap(90, 31);
    for (int y = 0; y < src->h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(src->line[y]);
        for (int x = 0; x < src->w;) {
            const int run = 1 + std::rand() % (y % 3 == 0 ? 4 : 14);
            const bool hole = std::rand() % 2;
            for (int i = 0; i < run && x < src->w; ++i, ++x)
                row[x] = hole ? 0x00FF00FFu : randomPixel();
        }
    }
    keepMaskedArt(src);
    BITMAP* expected = create_bitmap(120, 50);
    BITMAP* got = create_bitmap(120, 50);
    for (int round = 0; round < 1500; ++round) {
        fillRandom(expected);
        blit(expected, got, 0, 0, 0, 0, expected->w, expected->h);
        const int sx = around(src->w), sy = around(src->h);
        const int dx = around(got->w), dy = around(got->h);
        const int w = std::rand() % 110 - 5, h = std::rand() % 45 - 5;
        masked_blit(src, expected, sx, sy, dx, dy, w, h);
        maskedCopy(src, got, sx, sy, dx, dy, w, h);
        ASSERT_EQ(firstDifference(expected, got), "")
            << "round " << round << ": from (" << sx << ", " << sy << ") to (" << dx << ", "
            << dy << "), " << w << " x " << h;
    }
    // Kept art stays alive until the process ends.
    destroy_bitmap(expected);
    destroy_bitmap(got);
}

// The game's own strips, kept, at random places on a frame and over its edges.
TEST(MaskedCopy, KeptGameArtLeavesTheSamePixelsAsMaskedBlit)
{
    std::srand(600);
    const char* const strips[] = {"brehlavy.bmp", "brehpravy.bmp", "drevo.bmp", "hambac.bmp",
                                   "most.tga",     "mosttien.tga",  "skala.bmp", "voda0.bmp",
                                   "vzduch1.bmp",  "naprah0.bmp",   "zem1.bmp",  "shadow.bmp"};
    BITMAP* under = create_bitmap(800, 600);
    BITMAP* expected = create_bitmap(800, 600);
    BITMAP* got = create_bitmap(800, 600);
    fillRandom(under);
    for (const char* name : strips) {
        BITMAP* src = imageReader((std::string(RIVERDUEL_BUILD_DIR "/bitmaps/") + name).c_str());
        ASSERT_NE(src, nullptr) << name;
        keepMaskedArt(src); // and kept alive until the process ends
        for (int round = 0; round < 25; ++round) {
            blit(under, expected, 0, 0, 0, 0, 800, 600);
            blit(under, got, 0, 0, 0, 0, 800, 600);
            const int frameW = src->h < 100 ? src->h : 100;
            const int sx = std::rand() % src->w, w = std::rand() % 2 ? frameW : std::rand() % src->w;
            const int dx = around(800) - w / 2, dy = around(600) - src->h / 2;
            masked_blit(src, expected, sx, 0, dx, dy, w, src->h);
            maskedCopy(src, got, sx, 0, dx, dy, w, src->h);
            ASSERT_EQ(firstDifference(expected, got), "")
                << name << ", round " << round << ": from x " << sx << " to (" << dx << ", "
                << dy << "), " << w << " wide";
        }
    }
    destroy_bitmap(under);
    destroy_bitmap(expected);
    destroy_bitmap(got);
}

TEST(MaskedCopy, DrawsIntoASubBitmapOnlyWithinIt)
{
    std::srand(7);
    BITMAP* src = create_bitmap(30, 30);
    BITMAP* expected = create_bitmap(50, 50);
    BITMAP* got = create_bitmap(50, 50);
    fillRandom(src);
    fillRandom(expected);
    blit(expected, got, 0, 0, 0, 0, 50, 50);
    BITMAP* expectedPart = create_sub_bitmap(expected, 10, 12, 20, 15);
    BITMAP* gotPart = create_sub_bitmap(got, 10, 12, 20, 15);
    masked_blit(src, expectedPart, 0, 0, -5, 3, 30, 30);
    maskedCopy(src, gotPart, 0, 0, -5, 3, 30, 30);
    EXPECT_EQ(firstDifference(expected, got), "");
    destroy_bitmap(expectedPart);
    destroy_bitmap(gotPart);
    destroy_bitmap(src);
    destroy_bitmap(expected);
    destroy_bitmap(got);
}

TEST(MaskedCopy, DrawsOnTheWindowLikeMaskedBlit)
{
    if (!haveScreen())
        FAIL() << "no window: the unit tests run under tests/e2e/xvfb.sh";
    BITMAP* src = create_bitmap(40, 40);
    clear_to_color(src, makecol(255, 0, 255));
    rectfill(src, 10, 10, 29, 29, makecol(200, 100, 0));
    clear_to_color(screen, makecol(0, 0, 90));
    maskedCopy(src, screen, 0, 0, 100, 100, 40, 40);
    EXPECT_EQ(getpixel(screen, 105, 105), makecol(0, 0, 90));
    EXPECT_EQ(getpixel(screen, 115, 115), makecol(200, 100, 0));
    destroy_bitmap(src);
}
