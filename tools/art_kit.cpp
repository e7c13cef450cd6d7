#include "art_kit.h"

#include <cmath>

namespace art {

const Rgb INK = {34, 24, 30};

uint32_t hash(uint32_t a, uint32_t b, uint32_t c)
{
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float hashUnit(uint32_t a, uint32_t b, uint32_t c)
{
    return (hash(a, b, c) >> 8) * (1.0f / 16777216.0f);
}

uint32_t Lcg::next()
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

float Lcg::unit()
{
    return next() * (1.0f / 16777216.0f);
}

static float smooth(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

static int wrap(int i, int n)
{
    int m = i % n;
    return m < 0 ? m + n : m;
}

float periodicNoise(float x, float y, int periodX, int periodY, uint32_t seed)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = smooth(x - x0);
    const float fy = smooth(y - y0);
    auto at = [&](int i, int j) {
        return hashUnit(static_cast<uint32_t>(wrap(i, periodX)), static_cast<uint32_t>(wrap(j, periodY)), seed);
    };
    const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
    const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
}

float periodicFbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed)
{
    float sum = 0, weight = 0, amplitude = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * periodicNoise(x, y, periodX, periodY, seed + 101u * o);
        weight += amplitude;
        amplitude *= 0.5f;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / weight;
}

Rgb mix(Rgb a, Rgb b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, float k)
{
    return {c.r * k, c.g * k, c.b * k};
}

static int channel(float v)
{
    if (v < 0)
        return 0;
    if (v > 255)
        return 255;
    return static_cast<int>(v + 0.5f);
}

int colour(Rgb c)
{
    int r = channel(c.r), g = channel(c.g), b = channel(c.b);
    // Never let a drawn pixel turn transparent by accident.
    if (r == 255 && g == 0 && b == 255)
        g = 1;
    return makecol(r, g, b);
}

Rgb colourOf(int pixel)
{
    return {static_cast<float>(getr(pixel)), static_cast<float>(getg(pixel)), static_cast<float>(getb(pixel))};
}

int maskColour()
{
    return makecol(255, 0, 255);
}

BITMAP* newCanvas(int w, int h)
{
    BITMAP* bmp = create_bitmap(w, h);
    clear_to_color(bmp, maskColour());
    return bmp;
}

bool isMask(BITMAP* bmp, int x, int y)
{
    return getpixel(bmp, x, y) == maskColour();
}

void plot(BITMAP* bmp, int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < bmp->w && y < bmp->h)
        putpixel(bmp, x, y, colour(c));
}

Rgb pixelAt(BITMAP* bmp, int x, int y)
{
    return colourOf(getpixel(bmp, x, y));
}

Rgb toon(Rgb base, float u, float v)
{
    const float hx = u + 0.38f, hy = v + 0.42f;
    if (hx * hx + hy * hy < 0.09f)
        return mix(base, Rgb{255, 255, 245}, 0.55f);
    const float d = u * 0.55f + v * 0.75f;
    if (d > 0.45f)
        return scale(base, 0.68f);
    if (d < -0.2f)
        return mix(base, Rgb{255, 255, 240}, 0.15f);
    return base;
}

template <class Shade>
static void ellipseWith(BITMAP* bmp, float cx, float cy, float rx, float ry, Shade shade)
{
    const int x0 = static_cast<int>(std::floor(cx - rx)), x1 = static_cast<int>(std::ceil(cx + rx));
    const int y0 = static_cast<int>(std::floor(cy - ry)), y1 = static_cast<int>(std::ceil(cy + ry));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float u = (x + 0.5f - cx) / rx, v = (y + 0.5f - cy) / ry;
            if (u * u + v * v <= 1.0f)
                plot(bmp, x, y, shade(u, v));
        }
}

void fillEllipse(BITMAP* bmp, float cx, float cy, float rx, float ry, Rgb c)
{
    ellipseWith(bmp, cx, cy, rx, ry, [&](float, float) { return c; });
}

void fillShadedEllipse(BITMAP* bmp, float cx, float cy, float rx, float ry, Rgb base)
{
    ellipseWith(bmp, cx, cy, rx, ry, [&](float u, float v) { return toon(base, u, v); });
}

void fillCapsule(BITMAP* bmp, float x0, float y0, float x1, float y1, float radius, Rgb c)
{
    const int bx0 = static_cast<int>(std::floor(std::fmin(x0, x1) - radius));
    const int bx1 = static_cast<int>(std::ceil(std::fmax(x0, x1) + radius));
    const int by0 = static_cast<int>(std::floor(std::fmin(y0, y1) - radius));
    const int by1 = static_cast<int>(std::ceil(std::fmax(y0, y1) + radius));
    const float dx = x1 - x0, dy = y1 - y0;
    const float len2 = dx * dx + dy * dy;
    for (int y = by0; y <= by1; ++y)
        for (int x = bx0; x <= bx1; ++x) {
            const float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0 ? (px * dx + py * dy) / len2 : 0;
            t = t < 0 ? 0 : (t > 1 ? 1 : t);
            const float ex = px - t * dx, ey = py - t * dy;
            if (ex * ex + ey * ey <= radius * radius)
                plot(bmp, x, y, c);
        }
}

void inkEllipse(BITMAP* bmp, float cx, float cy, float rx, float ry, Rgb base, bool shaded)
{
    fillEllipse(bmp, cx, cy, rx + 1, ry + 1, INK);
    if (shaded)
        fillShadedEllipse(bmp, cx, cy, rx, ry, base);
    else
        fillEllipse(bmp, cx, cy, rx, ry, base);
}

void inkCapsule(BITMAP* bmp, float x0, float y0, float x1, float y1, float radius, Rgb c)
{
    fillCapsule(bmp, x0, y0, x1, y1, radius + 1, INK);
    fillCapsule(bmp, x0, y0, x1, y1, radius, c);
    // A lit edge on the upper-left side gives the stroke some volume.
    fillCapsule(bmp, x0 - radius * 0.35f, y0 - radius * 0.35f, x1 - radius * 0.35f, y1 - radius * 0.35f,
                radius * 0.35f, mix(c, Rgb{255, 255, 240}, 0.3f));
}

void outlineOpaque(BITMAP* bmp, Rgb ink)
{
    BITMAP* copy = create_bitmap(bmp->w, bmp->h);
    blit(bmp, copy, 0, 0, 0, 0, bmp->w, bmp->h);
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x) {
            if (!isMask(copy, x, y))
                continue;
            bool edge = false;
            for (int k = 0; k < 4 && !edge; ++k) {
                const int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
                edge = nx >= 0 && ny >= 0 && nx < bmp->w && ny < bmp->h && !isMask(copy, nx, ny);
            }
            if (edge)
                plot(bmp, x, y, ink);
        }
    destroy_bitmap(copy);
}

BITMAP* mirrored(BITMAP* src)
{
    BITMAP* out = create_bitmap(src->w, src->h);
    for (int y = 0; y < src->h; ++y)
        for (int x = 0; x < src->w; ++x)
            putpixel(out, src->w - 1 - x, y, getpixel(src, x, y));
    return out;
}

static bool saveAs24(BITMAP* bmp, const std::string& path, bool tga)
{
    BITMAP* flat = create_bitmap_ex(24, bmp->w, bmp->h);
    blit(bmp, flat, 0, 0, 0, 0, bmp->w, bmp->h);
    const int failed = tga ? save_tga(path.c_str(), flat, nullptr) : save_bmp(path.c_str(), flat, nullptr);
    destroy_bitmap(flat);
    return failed == 0;
}

bool saveBmp(BITMAP* bmp, const std::string& path)
{
    return saveAs24(bmp, path, false);
}

bool saveTga(BITMAP* bmp, const std::string& path)
{
    return saveAs24(bmp, path, true);
}

} // namespace art
