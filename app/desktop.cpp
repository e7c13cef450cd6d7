// The window's place on an X desktop: its name, its icon, its memory, the desktop's free area.
#include "app/window.h"

#include <allegro.h>
#include <sys/shm.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

// The library's X11 driver reads its window icon from here (an XPM image) when it makes the
// window; the asset generator draws ours into the build tree.
extern "C" void* allegro_icon;
#include "riverduel.xpm"

void nameWindow()
{
    xwin_set_window_name("riverduel", "River Duel");
    allegro_icon = const_cast<char**>(riverduel_xpm);
}

// On a local display the library's X11 driver shows the screen through memory it shares with
// the X server, and marks that memory for removal only as it closes the window: a game killed
// or crashed would leave it on the system for good. Once the server holds it, it is marked
// here, so it goes when both the game and the server have let go of it, however the game ends.
void markScreenMemoryForRemoval()
{
    if (!_xwin.display || !_xwin.ximage || !_xwin.use_shm)
        return;
    XLOCK();
    XSync(_xwin.display, False);
    shmctl(_xwin.shminfo.shmid, IPC_RMID, nullptr);
    XUNLOCK();
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
