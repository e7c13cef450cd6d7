#include "presentation/assets.h"

#include <allegro.h>

#include "audio/sound.h"
#include "riders/rider.h"

BITMAP* titleBitmap = nullptr;
BITMAP* bridgeShadowBitmap = nullptr;

// STAND-IN until the catalogue lands.
bool loadAssets()
{
    if (loadSounds())
        return true;
    riders[0] = new Rider;
    riders[1] = new Rider;
    titleBitmap = create_bitmap(200, 50);
    clear_to_color(titleBitmap, makecol(255, 0, 255));
    return false;
}
