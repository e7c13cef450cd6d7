#include "art_title.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "art_kit.h"

namespace art {

namespace {

const char* const WORD = "CHAMPION";
const int SCALE_X = 8, SCALE_Y = 10, BORDER = 5, MARGIN = 36;

// The library's 8x8 glyphs blown up with bilinear smoothing and cut at half level,
// which rounds the blocky steps into bold letters.
std::vector<bool> letterShape(int& w, int& h)
{
    // Each glyph trimmed to its own columns and set one column apart, so the narrow I
    // does not leave a hole in the word.
    const std::string word = WORD;
    BITMAP* glyph = create_bitmap(8, 8);
    BITMAP* small = create_bitmap(static_cast<int>(word.size()) * 9 + 2, 10);
    clear_to_color(small, makecol(0, 0, 0));
    int cursor = 1;
    for (char ch : word) {
        clear_to_color(glyph, makecol(0, 0, 0));
        const char text[2] = {ch, 0};
        textout_ex(glyph, font, text, 0, 0, makecol(255, 255, 255), -1);
        int first = 8, last = -1;
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 8; ++y)
                if (getr(getpixel(glyph, x, y)) > 127) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        if (last < first)
            continue;
        blit(glyph, small, first, 0, cursor, 1, last - first + 1, 8);
        cursor += last - first + 2;
    }
    destroy_bitmap(glyph);
    w = small->w * SCALE_X;
    h = small->h * SCALE_Y;
    std::vector<bool> shape(w * h);
    auto lit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= small->w || y >= small->h)
            return 0.0f;
        return getr(getpixel(small, x, y)) > 127 ? 1.0f : 0.0f;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float sx = (x + 0.5f) / SCALE_X - 0.5f, sy = (y + 0.5f) / SCALE_Y - 0.5f;
            const int ix = static_cast<int>(std::floor(sx)), iy = static_cast<int>(std::floor(sy));
            const float fx = sx - ix, fy = sy - iy;
            const float top = lit(ix, iy) * (1 - fx) + lit(ix + 1, iy) * fx;
            const float bottom = lit(ix, iy + 1) * (1 - fx) + lit(ix + 1, iy + 1) * fx;
            shape[y * w + x] = top * (1 - fy) + bottom * fy > 0.45f;
        }
    destroy_bitmap(small);
    return shape;
}

std::vector<bool> grown(const std::vector<bool>& shape, int w, int h, int radius)
{
    std::vector<bool> out(shape.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!shape[y * w + x])
                continue;
            for (int dy = -radius; dy <= radius; ++dy)
                for (int dx = -radius; dx <= radius; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (dx * dx + dy * dy <= radius * radius + 1 && nx >= 0 && ny >= 0 && nx < w && ny < h)
                        out[ny * w + nx] = true;
                }
        }
    return out;
}

void star(BITMAP* b, float cx, float cy, float r)
{
    for (int y = static_cast<int>(cy - r - 2); y <= cy + r + 2; ++y)
        for (int x = static_cast<int>(cx - r - 2); x <= cx + r + 2; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float a = std::atan2(dy, dx), d = std::sqrt(dx * dx + dy * dy);
            const float lobe = 0.5f + 0.5f * std::cos(5 * (a + 1.5708f));
            const float edge = r * (0.38f + 0.62f * lobe * lobe);
            if (d <= edge)
                plot(b, x, y, mix(Rgb{255, 244, 150}, Rgb{250, 190, 40}, d / r));
            else if (d <= edge + 2.0f)
                plot(b, x, y, INK);
        }
}

} // namespace

bool writeTitle(const std::string& dir)
{
    int w, h;
    const std::vector<bool> letters = letterShape(w, h);
    // The glyph block has empty rows and columns round it; trim to the letters.
    int x0 = w, x1 = 0, y0 = h, y1 = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (letters[y * w + x]) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    const int pad = BORDER + 6;
    const int lw = x1 - x0 + 1 + 2 * pad, lh = y1 - y0 + 1 + 2 * pad;
    std::vector<bool> shape(lw * lh);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            shape[(y - y0 + pad) * lw + (x - x0 + pad)] = letters[y * w + x];
    const std::vector<bool> rim = grown(shape, lw, lh, BORDER);

    BITMAP* title = newCanvas(lw + 2 * MARGIN + 6, lh + 6);
    const int ox = MARGIN, oy = 0;
    const float top = pad, height = static_cast<float>(y1 - y0 + 1);
    for (int y = 0; y < lh; ++y)
        for (int x = 0; x < lw; ++x)
            if (rim[y * lw + x])
                plot(title, ox + x + 5, oy + y + 5, Rgb{60, 20, 10});
    for (int y = 0; y < lh; ++y)
        for (int x = 0; x < lw; ++x) {
            if (!rim[y * lw + x])
                continue;
            Rgb c = INK;
            if (shape[y * lw + x]) {
                const float t = (y - top) / height;
                c = mix(Rgb{255, 236, 110}, Rgb{236, 112, 22}, t);
                if (t > 0.18f && t < 0.3f)
                    c = mix(c, Rgb{255, 255, 240}, 0.6f);
                // A darker lower lip inside every letter gives it thickness.
                if (y + 3 < lh && !shape[(y + 3) * lw + x])
                    c = scale(c, 0.72f);
            } else if (y < lh / 2 && (x + y) % 9 == 0) {
                c = Rgb{90, 40, 30};
            }
            plot(title, ox + x, oy + y, c);
        }
    star(title, MARGIN * 0.5f + 1, lh * 0.5f, 15);
    star(title, title->w - MARGIN * 0.5f - 4, lh * 0.5f, 15);
    const bool ok = saveBmp(title, dir + "/kalvanto.bmp");
    destroy_bitmap(title);
    return ok;
}

} // namespace art
