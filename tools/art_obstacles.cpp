#include "art_obstacles.h"

#include <cmath>

#include "art_kit.h"

namespace art {

namespace {

const float PI = 3.14159265f;
const Rgb FOAM = {236, 248, 255};
const Rgb CHURN = {150, 206, 240};

float rockRadius(float angle)
{
    return 29.0f + 12.0f * (periodicFbm(angle / (2 * PI) * 8, 0.5f, 8, 1, 2, 51) - 0.5f);
}

void rockFrame(BITMAP* strip, int frame)
{
    const float ox = frame * 100.0f, cx = ox + 50, cy = 48;
    // Churned water: foam heaped on the upstream side, a wake trailing downstream.
    for (int k = 0; k < 26; ++k) {
        const float a = k * 2 * PI / 26 + frame * 2 * PI / 78 + hashUnit(k, 1) * 0.1f;
        const float up = std::sin(a) < 0 ? 1.0f : 0.5f;
        const float r = rockRadius(a) + 3 + 4 * up * hashUnit(k, frame, 2);
        const float size = 2.2f + 3.0f * up * hashUnit(k, frame, 3);
        fillEllipse(strip, cx + r * std::cos(a), cy + r * std::sin(a), size + 1.5f, size + 1.2f, CHURN);
        fillEllipse(strip, cx + r * std::cos(a), cy + r * std::sin(a), size, size * 0.8f, FOAM);
    }
    for (int side = -1; side <= 1; side += 2)
        for (int k = 0; k < 6; ++k) {
            const float t = std::fmod(k / 6.0f + frame / 18.0f, 1.0f);
            const float y = cy + 24 + t * 24;
            const float x = cx + side * (22 + t * 18 + 2 * std::sin(k * 2.0f + frame));
            const float size = 2.6f - 1.6f * t;
            fillEllipse(strip, x, y, size + 1, size + 0.8f, CHURN);
            fillEllipse(strip, x, y, size, size * 0.8f, FOAM);
        }
    // The rock: lumpy outline, shaded facets, a crack and some moss.
    for (int y = 0; y < 100; ++y)
        for (int x = static_cast<int>(ox); x < ox + 100; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float a = std::atan2(dy, dx), d = std::sqrt(dx * dx + dy * dy), r = rockRadius(a);
            if (d > r + 1.5f)
                continue;
            if (d > r) {
                plot(strip, x, y, INK);
                continue;
            }
            const float facet = std::floor(periodicNoise((a + PI) * 2.5f, d / 9.0f, 16, 100, 61) * 4) / 4;
            Rgb stone = mix(Rgb{122, 118, 116}, Rgb{150, 146, 140}, facet);
            Rgb c = toon(stone, dx / r, dy / r);
            if (periodicNoise(x / 5.0f, y / 5.0f, 100, 100, 71) > 0.78f && dy < 0)
                c = Rgb{96, 138, 66};
            plot(strip, x, y, c);
        }
    fillCapsule(strip, cx - 8, cy - 6, cx + 2, cy + 3, 0.7f, Rgb{70, 66, 66});
    fillCapsule(strip, cx + 2, cy + 3, cx + 10, cy + 1, 0.7f, Rgb{70, 66, 66});
    // Spray flung up over the rock's top edge.
    for (int k = 0; k < 5; ++k) {
        const float a = -PI / 2 + (k - 2) * 0.45f;
        const float r = rockRadius(a) - 2 + 4 * hashUnit(k, frame, 5);
        fillEllipse(strip, cx + r * std::cos(a), cy + r * std::sin(a), 2.2f, 1.8f, FOAM);
    }
}

void logFrame(BITMAP* strip, int frame)
{
    const float ox = frame * 200.0f, cy = 50, r = 17, left = ox + 18, right = ox + 182;
    const float roll = frame * PI / 8;
    // Splashes along the sides, different on every frame.
    for (int k = 0; k < 16; ++k) {
        const float x = left + 8 + hashUnit(k, frame, 11) * (right - left - 16);
        const float side = k % 2 ? 1.0f : -1.0f;
        const float y = cy + side * (r + 3 + 5 * hashUnit(k, frame, 12));
        const float size = 1.5f + 2.5f * hashUnit(k, frame, 13);
        fillEllipse(strip, x, y, size + 1.5f, size + 1, CHURN);
        fillEllipse(strip, x, y, size, size * 0.8f, FOAM);
    }
    for (int end = 0; end < 2; ++end) {
        const float ex = end ? right + 4 : left - 4;
        for (int k = 0; k < 4; ++k)
            fillEllipse(strip, ex + (end ? 1 : -1) * 3 * hashUnit(k, frame, 14),
                        cy - 12 + k * 8 + 2 * hashUnit(k, frame, 15), 2.2f, 2, FOAM);
    }
    // The trunk: bark ridges run along it and roll round as it turns.
    for (int y = static_cast<int>(cy - r - 1); y <= cy + r + 1; ++y)
        for (int x = static_cast<int>(left); x <= right; ++x) {
            const float v = (y + 0.5f - cy) / r;
            if (std::fabs(v) > 1.0f) {
                plot(strip, x, y, INK);
                continue;
            }
            const float around = std::asin(v) + roll;
            const float lx = x - ox;
            const float wobble = 0.6f * periodicNoise(lx / 14.0f, 0, 100, 1, 81);
            const float ridge = std::sin(around * 9 + wobble * 4);
            Rgb bark = ridge > 0.55f ? Rgb{92, 60, 36} : Rgb{128, 86, 50};
            const float knot = periodicNoise(lx / 18.0f, (around + PI) / (2 * PI) * 4, 100, 4, 83);
            if (knot > 0.8f)
                bark = Rgb{70, 44, 28};
            plot(strip, x, y, toon(bark, 0, v * 0.9f));
        }
    // Cut ends with growth rings and a crack that turns with the roll.
    for (int end = 0; end < 2; ++end) {
        const float ex = end ? right : left;
        inkEllipse(strip, ex, cy, 6, r, Rgb{222, 184, 120}, false);
        fillEllipse(strip, ex, cy, 4, r * 0.65f, Rgb{200, 160, 100});
        fillEllipse(strip, ex, cy, 2.5f, r * 0.35f, Rgb{222, 184, 120});
        const float a = roll * 2 + end;
        fillCapsule(strip, ex, cy, ex + 4 * std::cos(a), cy + r * 0.8f * std::sin(a), 0.6f, Rgb{110, 72, 40});
    }
    // A stub of a branch rolling with the bark.
    const float stub = std::sin(roll + 0.8f);
    if (std::cos(roll + 0.8f) > -0.2f)
        inkEllipse(strip, ox + 120, cy + stub * r * 0.8f, 5, 4, Rgb{110, 74, 42});
}

BITMAP* burger()
{
    BITMAP* b = newCanvas(50, 50);
    // Bottom bun.
    inkCapsule(b, 11, 38, 39, 38, 5, Rgb{226, 158, 82});
    // Patty with a bumpy edge.
    inkCapsule(b, 8, 32, 42, 32, 4.2f, Rgb{104, 56, 32});
    for (int k = 0; k < 8; ++k)
        fillEllipse(b, 10 + k * 4.3f, 34.5f, 1.4f, 1, Rgb{76, 40, 24});
    // Lettuce frill.
    for (int x = 5; x <= 45; ++x) {
        const float top = 24 + 1.5f * std::sin(x * 1.1f);
        const float bottom = 29 + 1.2f * std::sin(x * 0.9f + 1);
        for (int y = static_cast<int>(top); y <= bottom; ++y)
            plot(b, x, y, y == static_cast<int>(top) || y + 1 > bottom ? Rgb{40, 110, 30} : Rgb{96, 196, 60});
    }
    // Cheese: a slice whose corners droop over the patty.
    for (int y = 27; y <= 34; ++y)
        for (int x = 7; x <= 43; ++x) {
            const float drip = std::fabs(std::fmod(x - 7.0f, 12.0f) - 6.0f);  // 0 at a corner tip
            const float reach = 30 + (6 - drip) * 0.7f;
            if (y > reach)
                continue;
            plot(b, x, y, y + 1 > reach ? Rgb{200, 130, 20} : Rgb{252, 204, 40});
        }
    // Tomato.
    inkCapsule(b, 10, 23, 40, 23, 1.8f, Rgb{220, 50, 40});
    // Top bun dome with sesame seeds.
    for (int y = 4; y <= 23; ++y)
        for (int x = 4; x <= 46; ++x) {
            const float u = (x + 0.5f - 25) / 20.0f, v = (y + 0.5f - 21) / 16.0f;
            const float d = u * u + v * v;
            if (y > 21 || d > 1.12f)
                continue;
            plot(b, x, y, d > 1.0f || y == 21 ? INK : toon(Rgb{232, 160, 70}, u, v * 1.4f + 0.4f));
        }
    const float seeds[7][2] = {{17, 11}, {25, 9}, {33, 11}, {21, 15}, {29, 15}, {13, 17}, {37, 17}};
    for (const auto& s : seeds)
        fillEllipse(b, s[0], s[1], 1.6f, 1, Rgb{252, 244, 214});
    return b;
}

bool saveAndFree(BITMAP* bmp, const std::string& path)
{
    const bool ok = saveBmp(bmp, path);
    destroy_bitmap(bmp);
    return ok;
}

} // namespace

bool writeObstacles(const std::string& dir)
{
    BITMAP* rock = newCanvas(300, 100);
    for (int f = 0; f < 3; ++f)
        rockFrame(rock, f);
    BITMAP* log = newCanvas(800, 100);
    for (int f = 0; f < 4; ++f)
        logFrame(log, f);
    bool ok = saveAndFree(rock, dir + "/skala.bmp");
    ok &= saveAndFree(log, dir + "/drevo.bmp");
    ok &= saveAndFree(burger(), dir + "/hambac.bmp");
    return ok;
}

} // namespace art
