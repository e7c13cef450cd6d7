#include <allegro.h>
#include <winalleg.h>

#include "presentation/display.h"

// The library knows a rate only for a mode it set itself; in a window it is the desktop's.
int displayRefreshRate()
{
    const int own = get_refresh_rate();
    if (own > 0)
        return own;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) || mode.dmDisplayFrequency <= 1)
        return 0;
    return static_cast<int>(mode.dmDisplayFrequency);
}
