#include "classic/headless.h"
#include "classic/obstacle.h"

#include <allegro.h>
#include <cerrno>
#include <cstdlib>
#include <new>

#include "obstacles/obstacle.h"
#include "classic/rider.h"

KindGeometry currentGeometry()
{
    KindGeometry geometry;
    geometry.bridgeHeight = static_cast<uint16_t>(obstacleKinds[KIND_BRIDGE].sprite.frameHeight);
    return geometry;
}

bool startHeadless(const KindGeometry& geometry)
{
    if (geometry.bridgeHeight < 1 || geometry.bridgeHeight > maxBridgeHeight)
        return false;
    if (!system_driver && install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return false;
    set_color_depth(32);
    for (Rider*& rider : riders)
        if (!rider && !(rider = new (std::nothrow) Rider))
            return false;
    for (int k = 0; k < 4; ++k)
        setObstacleKind(k, nullptr, geometry.bridgeHeight);
    return true;
}
