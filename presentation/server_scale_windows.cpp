#include "presentation/server_scale.h"

// Windows' drivers have no server that could scale: the game scales the picture itself.
bool startServerScaling(const Placement&, int, int)
{
    return false;
}

bool showServerScaled(BITMAP*)
{
    return false;
}

void stopServerScaling()
{
}
