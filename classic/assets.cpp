#include "classic/assets.h"

#include <allegro.h>
#include <new>

#include "audio/sound.h"
#include "classic/obstacle.h"
#include "classic/rider.h"
#include "obstacles/obstacle.h"
#include "presentation/assets.h"
#include "presentation/image_source.h"
#include "presentation/masked_copy.h"
#include "presentation/scenery.h"

namespace {

// Every rider frame is 50 x 100 with its hot spot at the centre, so a rider is placed by
// its centre. The second rider's animations run two frames behind the first's.
void initRiderSprite(AnimatedSprite& sprite, BITMAP* strip, int frames, uint32_t phase,
                     int ticksPerFrame)
{
    sprite.init(strip, 50, 100, 25, 50, frames, phase, ticksPerFrame);
}

// In kind order: rock, log, burger, bridge.
const char* const kindFiles[4] = {
    "./bitmaps/skala.bmp", "./bitmaps/drevo.bmp", "./bitmaps/hambac.bmp", "./bitmaps/most.tga",
};

const char* const firstRiderFiles[5] = {
    "./bitmaps/zem0.bmp", "./bitmaps/voda0.bmp", "./bitmaps/vzduch0.bmp",
    "./bitmaps/naprah0.bmp", "./bitmaps/shadow.bmp",
};

const char* const secondRiderFiles[4] = {
    "./bitmaps/zem1.bmp", "./bitmaps/voda1.bmp", "./bitmaps/vzduch1.bmp",
    "./bitmaps/naprah1.bmp",
};

// The rider strips outlive the riders that draw them: they stay here until the process ends.
BITMAP* riderStrips[9];

} // namespace

bool loadAssets()
{
    if (loadSounds())
        return true;

    riders[0] = new (std::nothrow) Rider;
    riders[1] = new (std::nothrow) Rider;
    if (!riders[0] || !riders[1])
        return true;

    BITMAP** strips = riderStrips;
    for (int i = 0; i < 5; ++i) {
        strips[i] = imageReader(firstRiderFiles[i]);
        if (!strips[i])
            return true;
    }
    Rider& first = *riders[0];
    initRiderSprite(first.surfaceSprite, strips[0], 4, 0, 5);
    initRiderSprite(first.submergedSprite, strips[1], 4, 0, 5);
    initRiderSprite(first.airborneSprite, strips[2], 1, 0, 1);
    initRiderSprite(first.windUpSprite, strips[3], 4, 0, 5);
    initRiderSprite(first.shadowSprite, strips[4], 1, 0, 1);
    initRiderSprite(riders[1]->shadowSprite, strips[4], 1, 0, 1);

    strips = riderStrips + 5;
    for (int i = 0; i < 4; ++i) {
        strips[i] = imageReader(secondRiderFiles[i]);
        if (!strips[i])
            return true;
    }
    Rider& second = *riders[1];
    initRiderSprite(second.surfaceSprite, strips[0], 4, 10, 5);
    initRiderSprite(second.submergedSprite, strips[1], 4, 10, 5);
    initRiderSprite(second.airborneSprite, strips[2], 1, 0, 1);
    initRiderSprite(second.windUpSprite, strips[3], 4, 10, 5);

    if (water.load("./bitmaps/voda-textura.tga"))
        return true;
    if (banks.load("./bitmaps/brehlavy.bmp", "./bitmaps/brehpravy.bmp"))
        return true;

    for (int k = 0; k < 4; ++k) {
        BITMAP* strip = imageReader(kindFiles[k]);
        if (!strip)
            return true;
        setObstacleKind(k, strip, strip->h);
    }

    bridgeShadowBitmap = imageReader("./bitmaps/mosttien.tga");
    if (!bridgeShadowBitmap)
        return true;
    titleBitmap = imageReader("./bitmaps/kalvanto.bmp");
    if (!titleBitmap)
        return true;
    return false;
}

void keepLoadedArt()
{
    for (BITMAP* strip : riderStrips)
        keepMaskedArt(strip);
    keepMaskedArt(banks.left.bitmap);
    keepMaskedArt(banks.right.bitmap);
    for (const ObstacleKind& kind : obstacleKinds)
        keepMaskedArt(kind.sprite.bitmap);
    keepMaskedArt(bridgeShadowBitmap);
}
