#include "obstacles/lanes.h"

#include <allegro.h>

#include "app/game.h"
#include "audio/sound.h"
#include "presentation/assets.h"
#include "presentation/masked_copy.h"
#include "riders/rider.h"

ObstacleLanes::ObstacleLanes() = default;
ObstacleLanes::~ObstacleLanes() = default;

// Draw, move and test every obstacle of one lane from the lowest upwards, then cull the
// front. Everything in a lane moves alike, so whatever left the screen is at the front.
static void stepLane(std::list<Obstacle>& lane, BITMAP* dest, Rider* riders[2])
{
    if (lane.empty())
        return;
    for (auto it = lane.begin(); it != lane.end();) {
        Obstacle& obstacle = *it;
        obstacle.draw(dest);
        obstacle.move();
        if (gameOver) {
            ++it;
            continue;
        }
        if (obstacle.hits(*riders[0]) && obstacle.damage != 0)
            applyHit(0, obstacle, riders);
        if (obstacle.hits(*riders[1]) && obstacle.damage != 0)
            applyHit(1, obstacle, riders);
        if (obstacle.damage == 0 && (obstacle.hitRider[0] || obstacle.hitRider[1])) {
            playSound(static_cast<SoundEvent>(obstacle.sound));
            Rider* receiver = obstacle.hitRider[1] ? riders[1] : riders[0];
            receiver->mass = static_cast<float>(static_cast<double>(receiver->mass) + 5.0);
            if (receiver->mass > 150.0f)
                receiver->mass = 150.0f;
            it = lane.erase(it);
            continue;
        }
        ++it;
    }
    while (!lane.empty() && lane.front().isGone())
        lane.pop_front();
}

void ObstacleLanes::updateLowerLanes(BITMAP* dest, Rider* riders[2])
{
    stepLane(lanes[KIND_ROCK], dest, riders);
    stepLane(lanes[KIND_LOG], dest, riders);
    stepLane(lanes[KIND_BURGER], dest, riders);
    // The bridges have not moved yet this frame, so each shadow sits 20 px below its bridge.
    if (!bridgeShadowBitmap || !dest)
        return;
    for (const Obstacle& bridge : lanes[KIND_BRIDGE]) {
        const int sy = static_cast<int>(static_cast<double>(bridge.y) + 20.0);
        maskedCopy(bridgeShadowBitmap, dest, 0, 0, 0, sy, SCREEN_W, bridgeShadowBitmap->h);
    }
}

void ObstacleLanes::updateBridgeLane(BITMAP* dest, Rider* riders[2])
{
    stepLane(lanes[KIND_BRIDGE], dest, riders);
}
