#include "art_riders.h"

#include <cmath>

#include "art_kit.h"
#include "xpm_writer.h"

namespace art {

namespace {

const float PI = 3.14159265f;
const int FRAME_W = 50, FRAME_H = 100;

struct Look {
    Rgb tube, stripe, cap, shirt, shorts;
};

const Look LOOKS[2] = {
    {{226, 62, 38}, {255, 214, 90}, {236, 112, 30}, {250, 176, 40}, {150, 40, 40}},
    {{30, 186, 150}, {225, 250, 255}, {40, 120, 220}, {60, 200, 230}, {30, 70, 140}},
};
const Rgb SKIN = {236, 184, 140};
const Rgb FOAM = {220, 240, 255};

// The tube: a torus lit from the upper left with four stripes around it.
void drawTube(BITMAP* dest, float cx, float cy, float outer, float inner, float squash, const Look& look)
{
    fillEllipse(dest, cx, cy, outer + 1, (outer + 1) * squash, INK);
    const float mid = (outer + inner) / 2, half = (outer - inner) / 2;
    for (int y = static_cast<int>(cy - outer - 1); y <= static_cast<int>(cy + outer + 1); ++y)
        for (int x = static_cast<int>(cx - outer - 1); x <= static_cast<int>(cx + outer + 1); ++x) {
            const float dx = x + 0.5f - cx, dy = (y + 0.5f - cy) / squash;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d > outer)
                continue;
            if (d < inner - 1) {
                continue;
            }
            if (d < inner) {
                plot(dest, x, y, INK);
                continue;
            }
            const float t = (d - mid) / half;  // -1 inner edge .. 1 outer edge
            const float angle = std::atan2(dy, dx);
            const float a = std::fmod(angle + 2 * PI + PI / 8, PI / 2);
            Rgb base = a < 0.32f ? look.stripe : look.tube;
            // Surface normal of the torus tilted towards the light at the upper left.
            const float nx = dx / (d + 0.001f) * t, ny = dy / (d + 0.001f) * t;
            plot(dest, x, y, toon(base, nx * 0.9f, ny * 0.9f - 0.1f * (1 - t * t)));
        }
}

void drawPaddler(BITMAP* dest, float cx, float cy, float s, const Look& look, int frame, bool spread)
{
    const float phase = frame * PI / 2;
    // Legs hang over the front of the tube.
    for (int side = -1; side <= 1; side += 2) {
        const float sp = spread ? 4.0f : 0.0f;
        inkCapsule(dest, cx + side * 4 * s, cy + 6 * s, cx + side * (7 + sp) * s, cy + 24 * s, 2.7f * s, SKIN);
        inkEllipse(dest, cx + side * (7.5f + sp) * s, cy + 26 * s, 3.0f * s, 2.4f * s, SKIN);
    }
    inkEllipse(dest, cx, cy + 3 * s, 6 * s, 5 * s, look.shorts);
    // Arms sweep through one stroke: reach forward, pull back along the tube.
    for (int side = -1; side <= 1; side += 2) {
        float hx, hy;
        if (spread) {
            hx = 16.0f;
            hy = -13;
        } else {
            hx = 17.5f + 2.5f * std::cos(phase);
            hy = -4 + 9 * std::sin(phase);
        }
        const float sx = cx + side * 7 * s, sy = cy - 6 * s;
        const float ex = cx + side * hx * s, ey = cy + hy * s;
        inkCapsule(dest, sx, sy, (sx + ex) / 2 + side * 1.5f * s, (sy + ey) / 2 - 2 * s, 2.8f * s, SKIN);
        inkCapsule(dest, (sx + ex) / 2 + side * 1.5f * s, (sy + ey) / 2 - 2 * s, ex, ey, 2.6f * s, SKIN);
        inkEllipse(dest, ex, ey, 3 * s, 3 * s, SKIN);
        if (!spread && std::sin(phase) > 0.5f) {
            // The hand is in the water: a splash behind it.
            for (int k = 0; k < 4; ++k) {
                const float ang = k * 0.9f + frame;
                fillEllipse(dest, ex + side * (2 + 2 * std::cos(ang)) * s, ey + (5 + 2.5f * k) * s, 1.3f * s, 1.3f * s,
                            FOAM);
            }
        }
    }
    inkEllipse(dest, cx, cy - 6 * s, 8 * s, 7 * s, look.shirt);
    fillCapsule(dest, cx - 6 * s, cy - 9 * s, cx + 6 * s, cy - 9 * s, 1.2f * s, mix(look.shirt, Rgb{255, 255, 255}, 0.45f));
    // Head: a swim cap seen from above with the face peeping out below it.
    inkEllipse(dest, cx, cy - 15 * s, 6 * s, 6.5f * s, SKIN);
    inkEllipse(dest, cx, cy - 17 * s, 6.2f * s, 5.6f * s, look.cap);
    fillCapsule(dest, cx - 4.5f * s, cy - 18.5f * s, cx + 4.5f * s, cy - 18.5f * s, 0.9f * s,
                mix(look.cap, Rgb{255, 255, 255}, 0.55f));
}

void drawCrouch(BITMAP* dest, float cx, float cy, const Look& look, int frame)
{
    // Knees pulled up to the chest, arms hugging them, head tucked down.
    for (int side = -1; side <= 1; side += 2) {
        inkCapsule(dest, cx + side * 4, cy + 3, cx + side * 5, cy + 12, 3.3f, SKIN);
        inkEllipse(dest, cx + side * 5, cy + 14, 3.4f, 3.0f, SKIN);
    }
    inkEllipse(dest, cx, cy - 2, 8.5f, 7.5f, look.shirt);
    for (int side = -1; side <= 1; side += 2) {
        inkCapsule(dest, cx + side * 8, cy - 5, cx + side * 9, cy + 5, 2.6f, SKIN);
        inkCapsule(dest, cx + side * 9, cy + 5, cx + side * 3, cy + 9, 2.5f, SKIN);
    }
    inkEllipse(dest, cx, cy - 9, 6, 6, SKIN);
    inkEllipse(dest, cx, cy - 10.5f, 6.2f, 5.4f, look.cap);
    fillCapsule(dest, cx - 4.5f, cy - 12, cx + 4.5f, cy - 12, 0.9f, mix(look.cap, Rgb{255, 255, 255}, 0.55f));
    // Effort marks flicker on alternate frames.
    const float side = frame % 2 ? 1.0f : -1.0f;
    for (int k = 0; k < 3; ++k) {
        const float y = cy - 8 + k * 7;
        fillCapsule(dest, cx + side * 20.5f, y, cx + side * 22.5f, y - 2 + k * 2, 0.7f, FOAM);
    }
}

} // namespace

void drawRider(BITMAP* dest, float cx, float cy, float size, int who, Pose pose, int frame)
{
    const Look& look = LOOKS[who];
    if (pose == Pose::Crouch) {
        static const float shake[4] = {0, 1, 0, -1};
        const float qx = cx + shake[frame % 4], qy = cy + (frame % 2) * 0.5f;
        drawTube(dest, qx, qy + 3, 18.5f, 8.5f, 0.86f, look);
        drawCrouch(dest, qx, qy + 2, look, frame);
        return;
    }
    drawTube(dest, cx, cy + 4 * size, 19 * size, 8.5f * size, 1.0f, look);
    drawPaddler(dest, cx, cy, size, look, frame, pose == Pose::Spread);
}

namespace {

BITMAP* surfaceStrip(int who)
{
    BITMAP* strip = newCanvas(4 * FRAME_W, FRAME_H);
    for (int f = 0; f < 4; ++f) {
        const float cx = f * FRAME_W + 25.0f, cy = 50.0f;
        // Ripples spreading behind the tube, a little further out on every frame.
        for (int k = 0; k < 2; ++k) {
            const float r = 20.5f + ((f + 2 * k) % 4) * 1.2f;
            const float a0 = PI * (0.25f + 0.08f * k), a1 = PI * (0.75f - 0.08f * k);
            for (int a = 0; a < 10; ++a) {
                const float p = a0 + (a1 - a0) * a / 10, q = a0 + (a1 - a0) * (a + 1) / 10;
                fillCapsule(strip, cx + r * std::cos(p), cy + 4 + r * std::sin(p), cx + r * std::cos(q),
                            cy + 4 + r * std::sin(q), 0.8f, k ? Rgb{150, 200, 235} : Rgb{200, 232, 250});
            }
        }
        drawRider(strip, cx, cy, 1.0f, who, Pose::Paddle, f);
    }
    return strip;
}

// The dived rider: the same body, dim, blue and wavering under the surface, with bubbles.
BITMAP* submergedStrip(int who)
{
    BITMAP* body = newCanvas(4 * FRAME_W, FRAME_H);
    for (int f = 0; f < 4; ++f)
        drawRider(body, f * FRAME_W + 25.0f, 52.0f, 0.92f, who, Pose::Paddle, f);
    BITMAP* strip = newCanvas(4 * FRAME_W, FRAME_H);
    const Rgb deep = {36, 104, 178};
    for (int y = 0; y < FRAME_H; ++y)
        for (int x = 0; x < 4 * FRAME_W; ++x) {
            const int f = x / FRAME_W;
            const int sx = x + static_cast<int>(std::lround(1.2f * std::sin(y * 0.35f + f * PI / 2)));
            if (sx < 0 || sx / FRAME_W != f || isMask(body, sx, y))
                continue;
            const Rgb c = pixelAt(body, sx, y);
            plot(strip, x, y, mix(c, deep, 0.62f));
        }
    for (int f = 0; f < 4; ++f)
        for (int k = 0; k < 6; ++k) {
            const float bx = f * FRAME_W + 25 + (hashUnit(k, who, 7) - 0.5f) * 30;
            const float by = 32 - std::fmod(k * 11.0f + f * 5.0f, 24.0f);
            const float r = 1.2f + hashUnit(k, who, 9) * 1.6f;
            fillEllipse(strip, bx, by, r + 0.8f, r + 0.8f, Rgb{150, 210, 240});
            fillEllipse(strip, bx, by, r, r, Rgb{70, 130, 190});
            plot(strip, static_cast<int>(bx - r * 0.4f), static_cast<int>(by - r * 0.4f), Rgb{235, 250, 255});
        }
    destroy_bitmap(body);
    return strip;
}

BITMAP* airborneFrame(int who)
{
    BITMAP* frame = newCanvas(FRAME_W, FRAME_H);
    drawRider(frame, 25, 48, 1.2f, who, Pose::Spread, 1);
    return frame;
}

BITMAP* windUpStrip(int who)
{
    BITMAP* strip = newCanvas(4 * FRAME_W, FRAME_H);
    for (int f = 0; f < 4; ++f)
        drawRider(strip, f * FRAME_W + 25.0f, 50.0f, 1.0f, who, Pose::Crouch, f);
    return strip;
}

BITMAP* shadowFrame()
{
    BITMAP* frame = newCanvas(FRAME_W, FRAME_H);
    fillEllipse(frame, 25, 54, 18, 15, Rgb{12, 30, 52});
    return frame;
}

bool saveAndFree(BITMAP* bmp, const std::string& path)
{
    const bool ok = saveBmp(bmp, path);
    destroy_bitmap(bmp);
    return ok;
}

} // namespace

bool writeRiders(const std::string& dir)
{
    bool ok = true;
    for (int who = 0; who < 2; ++who) {
        const std::string n = std::to_string(who);
        ok &= saveAndFree(surfaceStrip(who), dir + "/zem" + n + ".bmp");
        ok &= saveAndFree(submergedStrip(who), dir + "/voda" + n + ".bmp");
        ok &= saveAndFree(airborneFrame(who), dir + "/vzduch" + n + ".bmp");
        ok &= saveAndFree(windUpStrip(who), dir + "/naprah" + n + ".bmp");
    }
    ok &= saveAndFree(shadowFrame(), dir + "/shadow.bmp");
    return ok;
}

// The icon at `size` pixels square: the same water and rider at every size, drawn afresh
// rather than scaled, so each size is sharp.
static BITMAP* icon(int size)
{
    const float k = size / 48.0f;
    BITMAP* canvas = create_bitmap(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float n = periodicFbm(x / (8.0f * k), y / (8.0f * k), 6, 6, 2, 77);
            const float wave = std::sin(y / k * 0.5f + n * 5);
            Rgb c = mix(Rgb{28, 96, 170}, Rgb{60, 140, 210}, n);
            if (wave > 0.85f)
                c = Rgb{170, 220, 250};
            putpixel(canvas, x, y, colour(c));
        }
    drawRider(canvas, 24 * k, 23 * k, 0.68f * k, 0, Pose::Paddle, 1);
    return canvas;
}

bool writeIcon(const std::string& dir)
{
    bool ok = saveAndFree(icon(48), dir + "/riverduel.bmp");
    for (int size : {64, 128, 256})
        ok &= saveAndFree(icon(size), dir + "/riverduel-" + std::to_string(size) + ".bmp");
    BITMAP* windowIcon = icon(64);
    ok &= saveXpmSource(windowIcon, "riverduel_xpm", dir + "/riverduel.xpm");
    destroy_bitmap(windowIcon);
    return ok;
}

} // namespace art
