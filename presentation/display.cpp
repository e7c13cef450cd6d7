#include "presentation/display.h"

#include <algorithm>
#include <allegro.h>
#include <cstdint>
#include <cstring>
#include <vector>

#include "presentation/server_scale.h"

// Under X the server scales the picture itself (presentation/server_scale.cpp): only the
// picture's own pixels are sent. Where it cannot, the picture is scaled here. The library's X11
// driver keeps the screen's pixels in memory and sends the rows drawn to the X server after each
// drawing call; a picture scaled here is written into that memory directly and sent once, a
// copy of 1.5 million pixels less per frame at 1440 x 1080 than scaling into a bitmap of our
// own and blitting that. The driver's own calls for this are outside its public interface, so
// they are used only with that driver.
#ifdef _WIN32
// Windows' drivers are not written into: the picture is blitted.
static int _xwin_in_gfx_call;
static void _xwin_update_screen(int, int, int, int) {}
static bool x11Driver(bool)
{
    return false;
}
#else
extern "C" {
extern int _xwin_in_gfx_call;
void _xwin_update_screen(int x, int y, int w, int h);
}
static bool x11Driver(bool orFullscreen)
{
    return gfx_driver && (gfx_driver->id == GFX_XWINDOWS || (orFullscreen && gfx_driver->id == GFX_XWINDOWS_FULLSCREEN));
}
#endif

namespace {

bool scaled = false;
Placement shown;
int sourceW = 0;
int sourceH = 0;
// Where the scaled picture is made: the screen's own memory (with the X11 driver), or a bitmap
// that is then blitted.
BITMAP* scaledPicture = nullptr;
bool direct = false;
bool byServer = false;
// The picture composed in the screen's own memory, when asked for.
BITMAP* inScreen = nullptr;

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
    direct = x11Driver(true) && is_linear_bitmap(screen) &&
             bitmap_color_depth(screen) == 32;
    scaledPicture = direct ? create_sub_bitmap(screen, where.x, where.y, where.w, where.h)
                           : create_bitmap_ex(32, where.w, where.h);
    // The bars are painted once; nothing draws there afterwards.
    clear_to_color(screen, 0);
    byServer = startServerScaling(where, pictureW, pictureH);
    // The game's rules, its art and its HUD all measure the picture: the screen they see is
    // the picture, whatever the window's size.
    gfx_driver->w = pictureW;
    gfx_driver->h = pictureH;
}

ScaleMap scaleMap(int from, int to)
{
    ScaleMap map;
    const int64_t exact = static_cast<int64_t>(from) << 16;
    map.step = static_cast<int32_t>((exact + to / 2) / to);
    // The rounded step's error after `to` pixels, in 1/65536 of a pixel: half of it is taken
    // off at the start, so the error stays centred on the picture.
    const int64_t drift = static_cast<int64_t>(map.step) * to - exact;
    map.offset = static_cast<int32_t>(-drift / 2);
    return map;
}

int sourceOf(const ScaleMap& map, int at)
{
    // The server's reckoning: the middle of pixel `at` in the picture's fixed-point pixels
    // (the product rounded to whole 1/65536), then down to a whole pixel, a middle that falls
    // just on an edge going to the pixel before it.
    const int64_t middle = (static_cast<int64_t>(map.step) * 0x8000 + 0x8000) >> 16;
    return static_cast<int>((middle + map.offset - 1 + static_cast<int64_t>(at) * map.step) >> 16);
}

// The picture's pixel under scaled pixel `at`, never outside it.
static int sourceIn(const ScaleMap& map, int at, int size)
{
    return std::clamp(sourceOf(map, at), 0, size - 1);
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
        const ScaleMap across = scaleMap(from->w, to->w);
        for (int x = 0; x < to->w; ++x)
            ++spans[sourceIn(across, x, from->w)];
        spansFrom = from->w;
        spansTo = to->w;
    }
    const size_t rowBytes = static_cast<size_t>(to->w) * sizeof(uint32_t);
    const ScaleMap down = scaleMap(from->h, to->h);
    int lastRow = -1;
    for (int y = 0; y < to->h; ++y) {
        const int row = sourceIn(down, y, from->h);
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

BITMAP* pictureInScreen()
{
    const bool x11 = x11Driver(false);
    if (scaled || !x11 || !is_linear_bitmap(screen) || bitmap_color_depth(screen) != 32)
        return nullptr;
    if (!inScreen) {
        // Its own pixels go unused: its rows are pointed at the screen's.
        inScreen = create_bitmap_ex(32, SCREEN_W, SCREEN_H);
        if (!inScreen)
            return nullptr;
        for (int y = 0; y < SCREEN_H; ++y)
            inScreen->line[y] = screen->line[y];
    }
    return inScreen;
}

void present(BITMAP* picture)
{
    if (picture && picture == inScreen) {
        _xwin_update_screen(0, 0, picture->w, picture->h);
        return;
    }
    if (!scaled) {
        blit(picture, screen, 0, 0, 0, 0, picture->w, picture->h);
        return;
    }
    if (byServer && showServerScaled(picture))
        return;
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
    return sourceIn(scaleMap(source, size), inside, source);
}

int pictureMouseX()
{
    return toPicture(mouse_x, shown.x, shown.w, sourceW);
}

int pictureMouseY()
{
    return toPicture(mouse_y, shown.y, shown.h, sourceH);
}
