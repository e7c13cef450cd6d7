#include "presentation/masked_copy.h"

#include <allegro.h>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>

// Four pixels at a time: a block wholly of art is stored without reading what lies under it,
// a block wholly of mask colour is skipped, and only a mixed block is blended. The art's
// strips are mostly long runs of one or the other, so most blocks touch the frame once.
static void copyRow(const uint32_t* from, uint32_t* to, int w, uint32_t mask)
{
    const __m128i key = _mm_set1_epi32(static_cast<int>(mask));
    int x = 0;
    for (; x + 4 <= w; x += 4) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        const __m128i hole = _mm_cmpeq_epi32(c, key);
        const int holes = _mm_movemask_ps(_mm_castsi128_ps(hole));
        if (holes == 0xf)
            continue;
        __m128i* out = reinterpret_cast<__m128i*>(to + x);
        if (holes == 0) {
            _mm_storeu_si128(out, c);
            continue;
        }
        const __m128i under = _mm_loadu_si128(out);
        _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(hole, under), _mm_andnot_si128(hole, c)));
    }
    for (; x < w; ++x)
        if (from[x] != mask)
            to[x] = from[x];
}
#else
// Written so that the compiler can turn it into vector blends (this file is built with -O3).
static void copyRow(const uint32_t* __restrict from, uint32_t* __restrict to, int w,
                    uint32_t mask)
{
    for (int x = 0; x < w; ++x) {
        const uint32_t c = from[x];
        to[x] = c == mask ? to[x] : c;
    }
}
#endif

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
