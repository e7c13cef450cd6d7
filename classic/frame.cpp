#include "classic/frame.h"

#include <allegro.h>

#include "classic/lanes.h"
#include "classic/live.h"
#include "classic/obstacle.h"
#include "classic/rider.h"
#include "classic/world.h"
#include "presentation/draw.h"
#include "presentation/frame.h"
#include "presentation/hud.h"
#include "presentation/looks.h"
#include "presentation/scenery.h"

void renderFrame(ObstacleLanes& lanes)
{
    World world;
    captureWorld(world, &lanes);
    Cues cues;
    moveObstacles(world, cues);
    publishWorld(world, &lanes);
    drawWorld(world, backBuffer);
    showFrame();
    playCues(cues);
}

void drawHud(BITMAP* dest)
{
    const Rider& a = *riders[0];
    const Rider& b = *riders[1];
    drawBars(dest, a.name, a.health, a.mass, b.name, b.health, b.mass);
}

void Rider::draw(BITMAP* dest)
{
    drawRiderBody(dest, currentSprite, &shadowSprite, x, height, state, blinkUntil, ticks.load());
}

void WaterSurface::draw(BITMAP* dest, int columns, int rows, int left, int top)
{
    draw(dest, columns, rows, left, top, riverSpeed);
}

void RiverBanks::draw(BITMAP* dest)
{
    draw(dest, riverSpeed);
}

static Looks classicLooks()
{
    Looks looks{};
    for (int i = 0; i < 2; ++i)
        if (Rider* r = riders[i])
            looks.riders[i] = {{&r->surfaceSprite, &r->submergedSprite, &r->airborneSprite,
                                &r->windUpSprite},
                               r->currentSprite,
                               &r->shadowSprite};
    for (int k = 0; k < 4; ++k)
        looks.kinds[k] = &obstacleKinds[k].sprite;
    return looks;
}

static uint32_t gameClock()
{
    return ticks.load();
}

void showClassicLooks()
{
    findLooks = classicLooks;
    spriteClock = gameClock;
}
