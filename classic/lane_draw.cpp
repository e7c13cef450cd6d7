// The live game's lanes as the frame draws them: each obstacle shown where it stands, then moved.
#include <allegro.h>

#include "classic/lanes.h"
#include "classic/live.h"
#include "classic/obstacle.h"
#include "classic/random.h"
#include "classic/rider.h"
#include "obstacles/rules.h"
#include "presentation/draw.h"

void Obstacle::draw(BITMAP* dest)
{
    // A game played without a window moves and tests its obstacles but draws nothing.
    if (!dest)
        return;
    sprite->drawPhase(dest, static_cast<int>(x), static_cast<int>(y), static_cast<uint32_t>(phase));
}

static void stepLane(std::list<Obstacle>& lane, BITMAP* dest, Rider* pair[2])
{
    const rules::LaneContext context{riverSpeed, gameOver, ticks.load(), SCREEN_H};
    SharedRandom shared;
    Cues cues;
    cues.random = &shared.state;
    rules::stepLane(lane, *pair[0], *pair[1], context, cues, [dest](Obstacle& o) { o.draw(dest); });
    playCues(cues);
}

void ObstacleLanes::updateLowerLanes(BITMAP* dest, Rider* pair[2])
{
    stepLane(lanes[KIND_ROCK], dest, pair);
    stepLane(lanes[KIND_LOG], dest, pair);
    stepLane(lanes[KIND_BURGER], dest, pair);
    // The bridges have not moved yet this frame.
    if (dest)
        for (const Obstacle& bridge : lanes[KIND_BRIDGE])
            drawBridgeShadow(dest, bridge.y);
}

void ObstacleLanes::updateBridgeLane(BITMAP* dest, Rider* pair[2])
{
    stepLane(lanes[KIND_BRIDGE], dest, pair);
}
