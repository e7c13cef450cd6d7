#include "presentation/display.h"

#include <algorithm>
#include <allegro.h>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool scaled = false;
Placement shown;
int sourceW = 0;
int sourceH = 0;
BITMAP* scaledPicture = nullptr;

} // namespace

Placement fitPicture(int pictureW, int pictureH, int screenW, int screenH)
{
    Placement where;
    // Width-bound when the screen is relatively wider than the picture is tall.
    if (static_cast<long>(screenW) * pictureH <= static_cast<long>(screenH) * pictureW) {
        where.w = screenW;
        where.h = static_cast<int>(static_cast<long>(screenW) * pictureH / pictureW);
    } else {
        where.h = screenH;
        where.w = static_cast<int>(static_cast<long>(screenH) * pictureW / pictureH);
    }
    where.x = (screenW - where.w) / 2;
    where.y = (screenH - where.h) / 2;
    return where;
}

void showPictureAt(const Placement& where, int pictureW, int pictureH)
{
    scaled = true;
    shown = where;
    sourceW = pictureW;
    sourceH = pictureH;
    if (scaledPicture)
        destroy_bitmap(scaledPicture);
    scaledPicture = create_bitmap_ex(32, where.w, where.h);
    // The bars are painted once; nothing draws there afterwards.
    clear_to_color(screen, 0);
    // The game's rules, its art and its HUD all measure the picture: the screen they see is
    // the picture, whatever the window's size.
    gfx_driver->w = pictureW;
    gfx_driver->h = pictureH;
}

// Column and row of the source under each pixel of the scaled picture: a pixel of the
// picture shows as a block of whole screen pixels, all of the same width in integer scales.
static int sourceOf(int at, int from, int to)
{
    return static_cast<int>(static_cast<long>(at) * from / to);
}

void scaleCopy(BITMAP* from, BITMAP* to)
{
    static std::vector<int> columns;
    static int columnsFrom = -1;
    if (static_cast<int>(columns.size()) != to->w || columnsFrom != from->w) {
        columns.resize(to->w);
        for (int x = 0; x < to->w; ++x)
            columns[x] = sourceOf(x, from->w, to->w);
        columnsFrom = from->w;
    }
    const size_t rowBytes = static_cast<size_t>(to->w) * sizeof(uint32_t);
    int lastRow = -1;
    for (int y = 0; y < to->h; ++y) {
        const int row = sourceOf(y, from->h, to->h);
        uint32_t* out = reinterpret_cast<uint32_t*>(to->line[y]);
        // A row already made once is copied whole: most rows of a scaled picture repeat.
        if (row == lastRow) {
            std::memcpy(out, to->line[y - 1], rowBytes);
            continue;
        }
        const uint32_t* in = reinterpret_cast<const uint32_t*>(from->line[row]);
        const int* column = columns.data();
        for (int x = 0; x < to->w; ++x)
            out[x] = in[column[x]];
        lastRow = row;
    }
}

void present(BITMAP* picture)
{
    if (!scaled) {
        blit(picture, screen, 0, 0, 0, 0, picture->w, picture->h);
        return;
    }
    scaleCopy(picture, scaledPicture);
    blit(scaledPicture, screen, 0, 0, shown.x, shown.y, shown.w, shown.h);
}

static int toPicture(int at, int offset, int size, int source)
{
    if (!scaled)
        return at;
    const int inside = std::clamp(at - offset, 0, size - 1);
    return sourceOf(inside, source, size);
}

int pictureMouseX()
{
    return toPicture(mouse_x, shown.x, shown.w, sourceW);
}

int pictureMouseY()
{
    return toPicture(mouse_y, shown.y, shown.h, sourceH);
}
