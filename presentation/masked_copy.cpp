#include "presentation/masked_copy.h"

#include <allegro.h>
#include <cstdint>

// Written so that the compiler can turn it into vector blends (this file is built with -O3).
static void copyRow(const uint32_t* __restrict from, uint32_t* __restrict to, int w,
                    uint32_t mask)
{
    for (int x = 0; x < w; ++x) {
        const uint32_t c = from[x];
        to[x] = c == mask ? to[x] : c;
    }
}

void maskedCopy(BITMAP* src, BITMAP* dest, int sx, int sy, int dx, int dy, int w, int h)
{
    if (!is_memory_bitmap(src) || !is_memory_bitmap(dest) || bitmap_color_depth(src) != 32 ||
        bitmap_color_depth(dest) != 32 || !dest->clip || src == dest) {
        masked_blit(src, dest, sx, sy, dx, dy, w, h);
        return;
    }

    // Clipped as masked_blit clips: to the source bitmap, then to the destination's clip
    // rectangle.
    if (sx >= src->w || sy >= src->h || dx >= dest->cr || dy >= dest->cb)
        return;
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (sx + w > src->w)
        w = src->w - sx;
    if (sy + h > src->h)
        h = src->h - sy;
    if (dx < dest->cl) {
        const int cut = dest->cl - dx;
        w -= cut;
        sx += cut;
        dx = dest->cl;
    }
    if (dy < dest->ct) {
        const int cut = dest->ct - dy;
        h -= cut;
        sy += cut;
        dy = dest->ct;
    }
    if (dx + w > dest->cr)
        w = dest->cr - dx;
    if (dy + h > dest->cb)
        h = dest->cb - dy;
    if (w <= 0 || h <= 0)
        return;

    const uint32_t mask = static_cast<uint32_t>(bitmap_mask_color(src));
    for (int row = 0; row < h; ++row) {
        const uint32_t* from = reinterpret_cast<const uint32_t*>(src->line[sy + row]) + sx;
        uint32_t* to = reinterpret_cast<uint32_t*>(dest->line[dy + row]) + dx;
        copyRow(from, to, w, mask);
    }
}
