#include "presentation/frame.h"

#include <allegro.h>

#include "app/system.h"
#include "obstacles/lanes.h"
#include "presentation/display.h"
#include "presentation/hud.h"
#include "presentation/scenery.h"
#include "riders/rider.h"

// Riders go in three depths around the obstacle lanes: dived riders under rocks, logs and
// burgers; floating riders over those but under bridges; jumping riders over everything.
// The lane steps also move the obstacles and test them against the riders.
void renderFrame(ObstacleLanes& lanes)
{
    // Within a layer the higher rider ends on top; on a tie riders[0] does.
    Rider* order[2];
    if (riders[0]->height < riders[1]->height) {
        order[0] = riders[0];
        order[1] = riders[1];
    } else {
        order[0] = riders[1];
        order[1] = riders[0];
    }

    water.draw(backBuffer, 4, 5, 50, 0);
    banks.draw(backBuffer);

    for (Rider* rider : order)
        if (rider->state == STATE_SUBMERGED)
            rider->draw(backBuffer);
    lanes.updateLowerLanes(backBuffer, riders);

    for (Rider* rider : order)
        if (rider->state == STATE_SURFACE)
            rider->draw(backBuffer);
    lanes.updateBridgeLane(backBuffer, riders);

    for (Rider* rider : order)
        if (rider->state & STATE_AIRBORNE)
            rider->draw(backBuffer);

    drawHud(backBuffer);
    present(backBuffer);
}
