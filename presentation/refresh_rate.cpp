#include <allegro.h>
#include <dlfcn.h>
#include <xalleg.h>

#include "presentation/display.h"

// The library knows a rate only for a mode it set itself; under X the server's RandR extension
// tells the desktop's. Its library is looked for when the game runs, so a machine without it
// still plays (at the rate the game assumes).
int displayRefreshRate()
{
    const int own = get_refresh_rate();
    if (own > 0 || !system_driver || system_driver->id != SYSTEM_XWINDOWS || !_xwin.display)
        return own;
    static int known = -1;
    if (known >= 0)
        return known;
    known = 0;
    void* randr = dlopen("libXrandr.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!randr)
        return known;
    using GetInfo = void* (*)(Display*, Window);
    using CurrentRate = short (*)(void*);
    using FreeInfo = void (*)(void*);
    const auto getInfo = reinterpret_cast<GetInfo>(dlsym(randr, "XRRGetScreenInfo"));
    const auto currentRate = reinterpret_cast<CurrentRate>(dlsym(randr, "XRRConfigCurrentRate"));
    const auto freeInfo = reinterpret_cast<FreeInfo>(dlsym(randr, "XRRFreeScreenConfigInfo"));
    if (getInfo && currentRate && freeInfo) {
        XLOCK();
        if (void* info = getInfo(_xwin.display, RootWindow(_xwin.display, _xwin.screen))) {
            known = currentRate(info);
            freeInfo(info);
        }
        XUNLOCK();
    }
    return known;
}
