#include "presentation/display.h"

#include <algorithm>
#include <allegro.h>
#include <cstdint>
#include <cstring>
#include <vector>

// The library's X11 driver keeps the screen's pixels in memory and sends the rows drawn to the
// X server after each drawing call. A scaled picture is written into that memory directly and
// sent once, a copy of 1.5 million pixels less per frame at 1440 x 1080 than scaling into a
// bitmap of our own and blitting that (which measured 2.05 times the plain window's processor
// for a whole game, against about 1.5). The driver's own calls for this are outside its public
// interface, so they are used only with that driver.
extern "C" {
extern int _xwin_in_gfx_call;
void _xwin_update_screen(int x, int y, int w, int h);
}

namespace {

bool scaled = false;
Placement shown;
int sourceW = 0;
int sourceH = 0;
// Where the scaled picture is made: the screen's own memory (with the X11 driver), or a bitmap
// that is then blitted.
BITMAP* scaledPicture = nullptr;
bool direct = false;

} // namespace

Placement fitPicture(int pictureW, int pictureH, int screenW, int screenH)
{
    Placement where;
    // Width-bound when the screen, for its height, is no wider than the picture; else height-bound.
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
    const int driver = gfx_driver->id;
    direct = (driver == GFX_XWINDOWS || driver == GFX_XWINDOWS_FULLSCREEN) && is_linear_bitmap(screen) &&
             bitmap_color_depth(screen) == 32;
    scaledPicture = direct ? create_sub_bitmap(screen, where.x, where.y, where.w, where.h)
                           : create_bitmap_ex(32, where.w, where.h);
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
    // How many screen columns each column of the picture covers (0 when shrinking past it),
    // worked out once for each pair of sizes.
    static std::vector<int> spans;
    static int spansFrom = -1;
    static int spansTo = -1;
    if (spansFrom != from->w || spansTo != to->w) {
        spans.assign(from->w, 0);
        for (int x = 0; x < to->w; ++x)
            ++spans[sourceOf(x, from->w, to->w)];
        spansFrom = from->w;
        spansTo = to->w;
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
        const int* span = spans.data();
        for (int x = 0; x < from->w; ++x) {
            const uint32_t pixel = in[x];
            switch (span[x]) {
            case 2: out[1] = pixel; [[fallthrough]];
            case 1: out[0] = pixel; [[fallthrough]];
            case 0: break;
            default:
                for (int k = 0; k < span[x]; ++k)
                    out[k] = pixel;
            }
            out += span[x];
        }
        lastRow = row;
    }
}

void present(BITMAP* picture)
{
    if (!scaled) {
        blit(picture, screen, 0, 0, 0, 0, picture->w, picture->h);
        return;
    }
    if (direct) {
        // Held off while the rows are written, then the whole picture goes to the server.
        _xwin_in_gfx_call = 1;
        scaleCopy(picture, scaledPicture);
        _xwin_in_gfx_call = 0;
        _xwin_update_screen(shown.x, shown.y, shown.w, shown.h);
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
