// The window's place on a Windows desktop: its icon comes from the executable's resources.
#include "app/window.h"

#include <allegro.h>
#include <winalleg.h>

void nameWindow()
{
}

void markScreenMemoryForRemoval()
{
}

bool usableArea(int& w, int& h)
{
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        return false;
    w = area.right - area.left;
    h = area.bottom - area.top;
    return true;
}
