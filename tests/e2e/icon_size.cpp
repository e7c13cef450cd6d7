// Prints "W H" of the icon a window gives the desktop (its WM_HINTS icon pixmap), or nothing
// when it gives none. The screen test tells the game's own icon from the library's by size.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (argc != 2 || !display)
        return 2;
    const Window window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    XWMHints* hints = XGetWMHints(display, window);
    if (hints && (hints->flags & IconPixmapHint)) {
        Window root;
        int x, y;
        unsigned w, h, border, depth;
        if (XGetGeometry(display, hints->icon_pixmap, &root, &x, &y, &w, &h, &border, &depth))
            std::printf("%u %u\n", w, h);
    }
    XCloseDisplay(display);
    return 0;
}
