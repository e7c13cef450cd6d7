#include <cmath>

#include "obstacles/rules.h"
#include "simulation/world.h"

float rampSpeed(uint32_t t)
{
    return static_cast<float>(std::sin(static_cast<double>(t) / 10.0 * 3.1415 / 2.0) * 15.0);
}

void moveObstacles(World& w, Cues& cues)
{
    cues.random = &w.random;
    w.blinkBeforeLanes[0] = w.riders[0].blinkUntil;
    w.blinkBeforeLanes[1] = w.riders[1].blinkUntil;
    const rules::LaneContext context{w.riverSpeed, w.gameOver, w.ticks, SCREEN_HEIGHT};
    RiderState& first = w.riders[0];
    RiderState& second = w.riders[1];
    w.shownLower.clear();
    w.shownBridges.clear();
    auto showLower = [&w](const ObstacleState& o) { w.shownLower.push_back({o.kind, o.x, o.y, o.phase}); };
    auto showBridge = [&w](const ObstacleState& o) { w.shownBridges.push_back({o.kind, o.x, o.y, o.phase}); };
    rules::stepLane(w.lanes[KIND_ROCK], first, second, context, cues, showLower);
    rules::stepLane(w.lanes[KIND_LOG], first, second, context, cues, showLower);
    rules::stepLane(w.lanes[KIND_BURGER], first, second, context, cues, showLower);
    rules::stepLane(w.lanes[KIND_BRIDGE], first, second, context, cues, showBridge);
}

bool stepWorld(World& w, const PassInput& input, Cues& cues)
{
    if (w.ticks < 10)
        w.riverSpeed = rampSpeed(w.ticks);
    if (w.gameOver) {
        w.riverSpeed = static_cast<float>(static_cast<double>(w.riverSpeed) - 0.1);
        if (w.riverSpeed <= 0.0f)
            return false;
    }
    cues.random = &w.random;
    Contest contest{w.ticks, w.gameOver, w.winner, w.prevRiderHeightSign, SCREEN_WIDTH};
    rules::stepRiders(w.riders[0], w.riders[1], input.riders, contest, cues);
    if (nextRandom(w.random) % 10 == 0)
        rules::spawn(w.lanes, w.ticks, w.lastSpawnTick, w.random);
    moveObstacles(w, cues);
    return true;
}
