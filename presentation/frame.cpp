#include "presentation/frame.h"
#include "classic/obstacle.h"
#include "classic/world.h"

#include <allegro.h>

#include "classic/lanes.h"
#include "presentation/display.h"
#include "presentation/draw.h"
#include "presentation/hud.h"
#include "presentation/scenery.h"
#include "classic/live.h"
#include "classic/rider.h"
#include "simulation/world.h"

BITMAP* backBuffer = nullptr;

static void drawShown(BITMAP* dest, const ShownObstacle& o)
{
    obstacleKinds[o.kind].sprite.drawPhase(dest, static_cast<int>(o.x), static_cast<int>(o.y),
                        static_cast<uint32_t>(o.phase));
}

// Riders go in three depths around the obstacles: dived riders under rocks, logs and burgers;
// floating riders over those but under bridges; jumping riders over everything. Within a layer
// the higher rider ends on top; on a tie riders[0] does. A dived rider is drawn before the
// obstacles touch it, so it blinks as it did before they did.
void drawWorld(const World& w, BITMAP* dest)
{
    const int order[2] = {w.riders[0].height < w.riders[1].height ? 0 : 1,
                          w.riders[0].height < w.riders[1].height ? 1 : 0};
    const uint32_t now = ticks.load();

    water.draw(dest, 4, 5, 50, 0, w.riverSpeed);
    banks.draw(dest, w.riverSpeed);

    for (int i : order)
        if (w.riders[i].state == STATE_SUBMERGED)
            drawRider(dest, *riders[i], w.riders[i], w.blinkBeforeLanes[i], now);
    for (const ShownObstacle& o : w.shownLower)
        drawShown(dest, o);
    for (const ShownObstacle& bridge : w.shownBridges)
        drawBridgeShadow(dest, bridge.y);

    for (int i : order)
        if (w.riders[i].state == STATE_SURFACE)
            drawRider(dest, *riders[i], w.riders[i], w.riders[i].blinkUntil, now);
    for (const ShownObstacle& o : w.shownBridges)
        drawShown(dest, o);

    for (int i : order)
        if (w.riders[i].state & STATE_AIRBORNE)
            drawRider(dest, *riders[i], w.riders[i], w.riders[i].blinkUntil, now);

    drawHud(dest, w);
}

void showFrame()
{
    present(backBuffer);
}

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
