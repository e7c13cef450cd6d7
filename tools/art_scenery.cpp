#include "art_scenery.h"

#include <cmath>

#include "art_kit.h"

namespace art {

namespace {

const float PI = 3.14159265f;
const int BANK_W = 100, BANK_H = 600, BANK_FRAMES = 4;

const Rgb WATER_DEEP = {24, 88, 158};
const Rgb WATER_MID = {36, 112, 184};
const Rgb WATER_LIGHT = {58, 140, 206};
const Rgb WATER_PALE = {104, 176, 226};
const Rgb GLINT = {214, 238, 255};

BITMAP* waterTile()
{
    const int W = WATER_TILE_W, H = WATER_TILE_H;
    BITMAP* tile = create_bitmap(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            // Every term repeats exactly over the tile, so tiles meet without a seam.
            const float n = periodicFbm(x / 25.0f, y / 25.0f, W / 25, H / 25, 3, 11);
            const float m = periodicFbm(x / 50.0f, y / 50.0f, W / 50, H / 50, 2, 23);
            const float g = periodicNoise(x / 10.0f, y / 10.0f, W / 10, H / 10, 37);
            const float wave = std::sin(2 * PI * (6.0f * y / H + 1.0f * x / W) + 5.0f * n);
            const float level = 0.5f + 0.28f * wave + 0.6f * (m - 0.5f);
            Rgb c;
            if (level < 0.3f)
                c = WATER_DEEP;
            else if (level < 0.58f)
                c = WATER_MID;
            else if (level < 0.8f)
                c = WATER_LIGHT;
            else
                c = WATER_PALE;
            if (wave > 0.9f && g > 0.56f)
                c = GLINT;
            putpixel(tile, x, y, colour(c));
        }
    return tile;
}

// Where the left bank's land ends, for a row of the 600-pixel loop.
float shoreline(int y, uint32_t seed)
{
    return 70.0f + 22.0f * (periodicFbm(y / 60.0f, 0.5f, BANK_H / 60, 1, 3, seed) - 0.5f);
}

float grassEdge(int y, uint32_t seed)
{
    return shoreline(y, seed) - 24.0f - 14.0f * periodicFbm(y / 40.0f, 3.5f, BANK_H / 40, 1, 2, seed + 5);
}

// Draws at y and one loop above and below, so shapes across the seam wrap round.
template <class Draw>
void wrapped(float y, Draw draw)
{
    draw(y);
    draw(y - BANK_H);
    draw(y + BANK_H);
}

void bankFrame(BITMAP* strip, int frame, uint32_t seed)
{
    const int ox = frame * BANK_W;
    BITMAP* f = create_bitmap(BANK_W, BANK_H);
    clear_to_color(f, maskColour());
    const float sway = std::sin(frame * PI / 2);
    for (int y = 0; y < BANK_H; ++y) {
        const float shore = shoreline(y, seed), grass = grassEdge(y, seed);
        const float foam = 2.5f + 1.5f * std::sin(y * 0.07f + frame * PI / 2);
        for (int x = 0; x < BANK_W; ++x) {
            const float n = periodicFbm(x / 10.0f, y / 10.0f, 1000, BANK_H / 10, 2, seed + 9);
            Rgb c;
            if (x < grass) {
                c = n > 0.55f ? Rgb{96, 170, 64} : (n > 0.38f ? Rgb{78, 150, 56} : Rgb{62, 128, 48});
                if (x > grass - 3)
                    c = Rgb{58, 110, 44};
            } else if (x < shore - 5) {
                c = n > 0.6f ? Rgb{240, 214, 150} : Rgb{226, 196, 132};
            } else if (x < shore) {
                c = Rgb{190, 160, 104};
            } else if (x < shore + foam && static_cast<int>(y / 5 + frame) % 4 != 0) {
                c = Rgb{228, 244, 252};
            } else if (x < shore + foam + 6 && (x + y) % 2 == 0) {
                // Shallows: every other pixel, so the flowing water shows through.
                c = Rgb{120, 196, 230};
            } else {
                continue;
            }
            putpixel(f, x, y, colour(c));
        }
    }
    Lcg rng(seed);
    // Pebbles on the sand.
    for (int k = 0; k < 16; ++k) {
        const float y = rng.range(0, BANK_H);
        const float x = rng.range(grassEdge(static_cast<int>(y), seed) + 4, shoreline(static_cast<int>(y), seed) - 7);
        const float r = rng.range(1.2f, 2.6f);
        wrapped(y, [&](float yy) { inkEllipse(f, x, yy, r * 1.3f, r, Rgb{150, 140, 130}); });
    }
    // Bushes on the grass.
    for (int k = 0; k < 7; ++k) {
        const float y = k * (BANK_H / 7.0f) + rng.range(0, 40);
        const float x = rng.range(2, 16);
        const float r = rng.range(9, 13);
        wrapped(y, [&](float yy) {
            inkEllipse(f, x, yy, r, r * 0.9f, Rgb{46, 116, 52});
            inkEllipse(f, x + r * 0.5f, yy - r * 0.4f, r * 0.6f, r * 0.55f, Rgb{60, 140, 60});
        });
    }
    // Grass tufts and flowers that nod with the wind.
    for (int k = 0; k < 90; ++k) {
        const float y = rng.range(0, BANK_H);
        const float x = rng.range(3, grassEdge(static_cast<int>(y), seed) - 3);
        const float lean = 1.5f * sway * (rng.unit() > 0.3f ? 1.0f : 0.6f);
        const bool flower = rng.unit() < 0.18f;
        const Rgb petal = rng.unit() < 0.5f ? Rgb{250, 250, 240} : Rgb{250, 210, 60};
        wrapped(y, [&](float yy) {
            if (flower) {
                fillEllipse(f, x + lean, yy - 2, 2.2f, 2.2f, petal);
                plot(f, static_cast<int>(x + lean), static_cast<int>(yy - 2), Rgb{230, 140, 40});
                return;
            }
            for (int b = -1; b <= 1; ++b)
                fillCapsule(f, x + b * 1.5f, yy, x + b * 3 + lean, yy - 5, 0.5f, Rgb{44, 100, 38});
        });
    }
    // Reeds at the water's edge, swaying more than the grass.
    for (int k = 0; k < 14; ++k) {
        const float y = k * (BANK_H / 14.0f) + rng.range(0, 25);
        const float x = shoreline(static_cast<int>(y), seed) + rng.range(-2, 5);
        const int stalks = 4 + static_cast<int>(rng.unit() * 3);
        for (int s = 0; s < stalks; ++s) {
            const float bx = x + rng.range(-3, 3), len = rng.range(16, 26);
            const float tipX = bx + (s - stalks / 2.0f) * 2.5f + 3.0f * sway * (0.6f + 0.2f * s);
            const float tipY = y - len;
            wrapped(0, [&](float dy) {
                fillCapsule(f, bx, y + dy, tipX, tipY + dy, 1.6f, INK);
                fillCapsule(f, bx, y + dy, tipX, tipY + dy, 0.7f, Rgb{92, 150, 60});
                if (s % 2 == 0) {
                    inkCapsule(f, tipX, tipY + dy + 1, tipX + (tipX - bx) * 0.15f, tipY + dy + 6, 1.5f,
                               Rgb{130, 82, 44});
                }
            });
        }
    }
    blit(f, strip, 0, 0, ox, 0, BANK_W, BANK_H);
    destroy_bitmap(f);
}

BITMAP* leftBank(uint32_t seed)
{
    BITMAP* strip = create_bitmap(BANK_W * BANK_FRAMES, BANK_H);
    for (int frame = 0; frame < BANK_FRAMES; ++frame)
        bankFrame(strip, frame, seed);
    return strip;
}

// The right bank is a left bank of its own, mirrored frame by frame.
BITMAP* rightBank(uint32_t seed)
{
    BITMAP* left = leftBank(seed);
    BITMAP* strip = create_bitmap(BANK_W * BANK_FRAMES, BANK_H);
    for (int y = 0; y < BANK_H; ++y)
        for (int x = 0; x < BANK_W * BANK_FRAMES; ++x) {
            const int frame = x / BANK_W, fx = x % BANK_W;
            putpixel(strip, frame * BANK_W + BANK_W - 1 - fx, y, getpixel(left, x, y));
        }
    destroy_bitmap(left);
    return strip;
}

const int DECK_TOP = 14, DECK_BOTTOM = 106;

void railing(BITMAP* b, int y)
{
    const Rgb rail = {150, 96, 52};
    rectfill(b, 0, y - 1, b->w - 1, y + 8, colour(INK));
    rectfill(b, 0, y, b->w - 1, y + 7, colour(rail));
    hline(b, 0, y + 1, b->w - 1, colour(mix(rail, Rgb{255, 240, 200}, 0.35f)));
    hline(b, 0, y + 6, b->w - 1, colour(scale(rail, 0.7f)));
    for (int x = 16; x < b->w; x += 96) {
        rectfill(b, x - 1, y - 5, x + 14, y + 12, colour(INK));
        rectfill(b, x, y - 4, x + 13, y + 11, colour(Rgb{120, 74, 40}));
        rectfill(b, x + 2, y - 2, x + 11, y + 9, colour(Rgb{142, 90, 50}));
        rectfill(b, x + 2, y - 2, x + 11, y - 1, colour(Rgb{176, 122, 72}));
    }
}

BITMAP* bridge()
{
    BITMAP* b = newCanvas(800, BRIDGE_H);
    rectfill(b, 0, DECK_TOP - 4, 799, DECK_BOTTOM + 4, colour(Rgb{70, 44, 26}));
    const int plank = 16;
    for (int p = 0; p * plank < 800; ++p) {
        const float tint = 0.85f + 0.3f * hashUnit(p, 3);
        const Rgb wood = scale(Rgb{176, 120, 70}, tint);
        const int sag = static_cast<int>(hashUnit(p, 4) * 3);
        for (int y = DECK_TOP + sag - 2; y <= DECK_BOTTOM - 2 + sag; ++y)
            for (int x = p * plank + 1; x < (p + 1) * plank - 1; ++x) {
                const float grain = std::sin(x * 1.3f + 6 * periodicNoise(x / 4.0f, y / 12.0f, 400, 30, p));
                Rgb c = grain > 0.7f ? scale(wood, 0.82f) : wood;
                if (x == p * plank + 1)
                    c = mix(wood, Rgb{255, 240, 200}, 0.3f);
                if (x == (p + 1) * plank - 2)
                    c = scale(wood, 0.7f);
                plot(b, x, y, c);
            }
        for (int nail = 0; nail < 2; ++nail) {
            const int ny = nail ? DECK_BOTTOM - 6 + sag : DECK_TOP + 3 + sag;
            plot(b, p * plank + 4, ny, Rgb{60, 50, 46});
            plot(b, p * plank + plank - 5, ny, Rgb{60, 50, 46});
        }
    }
    railing(b, 9);
    railing(b, BRIDGE_H - 18);
    return b;
}

// A checkerboard of dark pixels under the whole bridge, so the water shows through.
BITMAP* bridgeShadow()
{
    BITMAP* s = newCanvas(800, BRIDGE_H);
    for (int y = 6; y < BRIDGE_H - 6; ++y)
        for (int x = 0; x < 800; ++x)
            if ((x + y) % 2 == 0)
                plot(s, x, y, Rgb{10, 22, 40});
    return s;
}

bool saveAndFree(BITMAP* bmp, const std::string& path, bool tga)
{
    const bool ok = tga ? saveTga(bmp, path) : saveBmp(bmp, path);
    destroy_bitmap(bmp);
    return ok;
}

} // namespace

bool writeScenery(const std::string& dir)
{
    bool ok = saveAndFree(waterTile(), dir + "/voda-textura.tga", true);
    ok &= saveAndFree(leftBank(1), dir + "/brehlavy.bmp", false);
    ok &= saveAndFree(rightBank(2), dir + "/brehpravy.bmp", false);
    ok &= saveAndFree(bridge(), dir + "/most.tga", true);
    ok &= saveAndFree(bridgeShadow(), dir + "/mosttien.tga", true);
    return ok;
}

} // namespace art
