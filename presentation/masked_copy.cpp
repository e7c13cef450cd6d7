#include "presentation/masked_copy.h"

#include <allegro.h>
#include <cstdint>
#include <cstring>
#include <vector>

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

namespace {

// One row's stretch of art worth drawing: either solid (copied as it is) or with holes of the
// mask colour short enough to blend across. Longer holes lie between stretches, untouched.
struct Stretch {
    int from;
    int to; // one past the last pixel
    bool solid;
};

// The stretches of every row of one kept bitmap (of the size it had when kept).
struct KeptArt {
    BITMAP* art;
    int w;
    int h;
    std::vector<int> rowStart; // h + 1 offsets into `stretches`
    std::vector<Stretch> stretches;
};

// A run of art this long is copied on its own; shorter runs with holes this short between
// them (a dithered edge) are blended as one stretch.
const int LONG_RUN = 8;
const int SHORT_HOLE = 8;

std::vector<KeptArt> keptArt;

const KeptArt* findKept(const BITMAP* art)
{
    for (const KeptArt& kept : keptArt)
        if (kept.art == art && kept.w == art->w && kept.h == art->h)
            return &kept;
    return nullptr;
}

void addRowStretches(const uint32_t* row, int w, uint32_t mask, std::vector<Stretch>& out)
{
    // The row's runs of art, in order.
    std::vector<Stretch> runs;
    for (int x = 0; x < w;) {
        if (row[x] == mask) {
            ++x;
            continue;
        }
        const int from = x;
        while (x < w && row[x] != mask)
            ++x;
        runs.push_back(Stretch{from, x, true});
    }
    for (size_t i = 0; i < runs.size();) {
        if (runs[i].to - runs[i].from >= LONG_RUN) {
            out.push_back(runs[i++]);
            continue;
        }
        Stretch mixed{runs[i].from, runs[i].to, false};
        for (++i; i < runs.size() && runs[i].to - runs[i].from < LONG_RUN &&
                  runs[i].from - mixed.to < SHORT_HOLE;
             ++i)
            mixed.to = runs[i].to;
        out.push_back(mixed);
    }
}

} // namespace

void keepMaskedArt(BITMAP* art)
{
    if (!art || !is_memory_bitmap(art) || bitmap_color_depth(art) != 32 || findKept(art))
        return;
    KeptArt kept{art, art->w, art->h, {}, {}};
    const uint32_t mask = static_cast<uint32_t>(bitmap_mask_color(art));
    kept.rowStart.reserve(art->h + 1);
    for (int y = 0; y < art->h; ++y) {
        kept.rowStart.push_back(static_cast<int>(kept.stretches.size()));
        addRowStretches(reinterpret_cast<const uint32_t*>(art->line[y]), art->w, mask,
                        kept.stretches);
    }
    kept.rowStart.push_back(static_cast<int>(kept.stretches.size()));
    keptArt.push_back(std::move(kept));
}

bool keptSolid(const BITMAP* art, int y, int from, int to)
{
    const KeptArt* kept = findKept(art);
    if (!kept || y < 0 || y >= kept->h)
        return false;
    for (int i = kept->rowStart[y]; i < kept->rowStart[y + 1]; ++i) {
        const Stretch& s = kept->stretches[i];
        if (s.solid && s.from <= from && s.to >= to)
            return true;
    }
    return false;
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
    if (const KeptArt* kept = findKept(src)) {
        const int sEnd = sx + w;
        for (int row = 0; row < h; ++row) {
            const uint32_t* from = reinterpret_cast<const uint32_t*>(src->line[sy + row]);
            uint32_t* to = reinterpret_cast<uint32_t*>(dest->line[dy + row]) + dx;
            const Stretch* s = kept->stretches.data() + kept->rowStart[sy + row];
            const Stretch* end = kept->stretches.data() + kept->rowStart[sy + row + 1];
            for (; s != end; ++s) {
                const int a = s->from > sx ? s->from : sx;
                const int b = s->to < sEnd ? s->to : sEnd;
                if (a >= b)
                    continue;
                if (s->solid)
                    std::memcpy(to + (a - sx), from + a, static_cast<size_t>(b - a) * sizeof *to);
                else
                    copyRow(from + a, to + (a - sx), b - a, mask);
            }
        }
        return;
    }
    for (int row = 0; row < h; ++row) {
        const uint32_t* from = reinterpret_cast<const uint32_t*>(src->line[sy + row]) + sx;
        uint32_t* to = reinterpret_cast<uint32_t*>(dest->line[dy + row]) + dx;
        copyRow(from, to, w, mask);
    }
}
