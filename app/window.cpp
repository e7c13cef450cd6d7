#include "app/window.h"

#include <allegro.h>
#include <cstdio>
#include <sys/shm.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "presentation/display.h"

// The library's X11 driver reads its window icon from here (an XPM image) when it makes the
// window; the asset generator draws ours into the build tree.
extern "C" void* allegro_icon;
#include "riverduel.xpm"

WindowRequest windowRequest;

static const int pictureW = 800;
static const int pictureH = 600;

void nameWindow()
{
    xwin_set_window_name("riverduel", "River Duel");
    allegro_icon = const_cast<char**>(riverduel_xpm);
}

// On a local display the library's X11 driver shows the screen through memory it shares with
// the X server, and marks that memory for removal only as it closes the window: a game killed
// or crashed would leave it on the system for good. Once the server holds it, it is marked
// here, so it goes when both the game and the server have let go of it, however the game ends.
static void markScreenMemoryForRemoval()
{
    if (!_xwin.display || !_xwin.ximage || !_xwin.use_shm)
        return;
    XLOCK();
    XSync(_xwin.display, False);
    shmctl(_xwin.shminfo.shmid, IPC_RMID, nullptr);
    XUNLOCK();
}

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

bool usableArea(int& w, int& h)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const Window root = DefaultRootWindow(display);
    w = DisplayWidth(display, DefaultScreen(display));
    h = DisplayHeight(display, DefaultScreen(display));
    // A desktop with panels says what they leave free (the first workspace's area).
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    const Atom workArea = XInternAtom(display, "_NET_WORKAREA", True);
    if (workArea != None &&
        XGetWindowProperty(display, root, workArea, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &left, &data) == Success &&
        data && format == 32 && count >= 4) {
        const long* area = reinterpret_cast<const long*>(data);
        if (area[2] > 0 && area[3] > 0) {
            w = static_cast<int>(area[2]);
            h = static_cast<int>(area[3]);
        }
    }
    if (data)
        XFree(data);
    XCloseDisplay(display);
    return true;
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
