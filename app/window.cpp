#include "app/window.h"

#include <allegro.h>
#include <cstdio>

#include "presentation/display.h"

WindowRequest windowRequest;

static const int pictureW = 800;
static const int pictureH = 600;

// Fills the desktop at its own resolution, so the display's mode stays as it is. True when
// the desktop could not be had (the reason on standard error).
static bool fillDesktop()
{
    int w = 0;
    int h = 0;
    if (get_desktop_resolution(&w, &h) != 0 || w < pictureW / 2 || h < pictureH / 2) {
        std::fprintf(stderr, "riverduel: the desktop's size is unknown; playing in a window\n");
        return true;
    }
    if (set_gfx_mode(GFX_AUTODETECT_FULLSCREEN, w, h, 0, 0) != 0) {
        std::fprintf(stderr, "riverduel: cannot fill the %d x %d desktop (%s); playing in a window\n",
                     w, h, allegro_error[0] ? allegro_error : "no full screen mode");
        return true;
    }
    // The full screen is a window of its own, made just now: it is named again.
    nameWindow();
    markScreenMemoryForRemoval();
    showPictureAt(fitPicture(pictureW, pictureH, SCREEN_W, SCREEN_H), pictureW, pictureH);
    return false;
}

int fittingScale(int wanted, int areaW, int areaH)
{
    int scale = wanted;
    while (scale > 1 && (pictureW * scale > areaW || pictureH * scale > areaH))
        --scale;
    return scale;
}

// A scale too large for the desktop takes the largest that fits, and says so.
static int scaleThatFits()
{
    const int wanted = windowRequest.scale;
    int w = 0;
    int h = 0;
    if (!usableArea(w, h))
        return wanted > 0 ? wanted : 1;
    if (wanted <= 0)
        return fittingScale(4, w, h);
    const int scale = fittingScale(wanted, w, h);
    if (scale != wanted)
        std::fprintf(stderr, "riverduel: a window of scale %d does not fit the %d x %d desktop; "
                             "scale %d does\n", wanted, w, h, scale);
    return scale;
}

bool openWindow()
{
    if (windowRequest.fullscreen && !fillDesktop())
        return false;
    const int scale = windowRequest.fullscreen ? 1 : scaleThatFits();
    windowRequest.shownScale = scale;
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, pictureW * scale, pictureH * scale, 0, 0) != 0)
        return true;
    markScreenMemoryForRemoval();
    if (scale != 1) {
        Placement whole;
        whole.w = pictureW * scale;
        whole.h = pictureH * scale;
        showPictureAt(whole, pictureW, pictureH);
    }
    return false;
}
