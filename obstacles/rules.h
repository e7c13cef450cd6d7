#pragma once
// The obstacles' rules, written once for the game's lanes of lists and a world's lanes, and for
// any rider record: touching a rider, hits and pick-ups, a lane's pass, and spawning.
#include <cmath>
#include <cstdint>

#include "obstacles/obstacle.h"
#include "riders/rules.h"

namespace rules {

// The rider's box is 50 x 100 around (x, 500), the row the riders float on.
template <class O, class R>
bool touches(O& o, R& rider)
{
    if (o.hitRider[rider.index])
        return false;
    if ((rider.state & o.layerMask) == 0)
        return false;
    const int halfWidth = o.width / 2;
    if (!(std::fabs((static_cast<double>(halfWidth) + o.x) - static_cast<double>(rider.x)) <
          halfWidth + 25))
        return false;
    const int halfHeight = o.height / 2;
    if (!(std::fabs((static_cast<double>(halfHeight) + o.y) - 500.0) < halfHeight + 50))
        return false;
    o.hitRider[rider.index] = 1;
    return true;
}

// A damaging obstacle hit the rider: its sound, a blink and the damage. Not clamped here:
// the rider's own move() ends the game at 0.
template <class R, class O, class Sink>
void hit(R& rider, const O& o, uint32_t now, Sink& cues)
{
    cues.play(static_cast<SoundEvent>(o.sound));
    rider.blinkUntil = now + 10;
    rider.health -= o.damage;
}

template <class O>
void moveDown(O& o, float riverSpeed)
{
    o.y = static_cast<float>((static_cast<double>(riverSpeed) + static_cast<double>(o.ownSpeed)) +
                             static_cast<double>(o.y));
}

template <class O>
bool gone(const O& o, int screenH)
{
    return o.y > static_cast<float>(screenH + o.height);
}

// What one lane's pass needs beside the lane and the riders.
struct LaneContext {
    float riverSpeed;
    bool gameOver;
    uint32_t now;
    int screenH;
};

template <class Lane>
void dropFront(Lane& lane)
{
    lane.erase(lane.begin());
}

// Show, move and test every obstacle of one lane from the lowest upwards, then cull the front.
// `show` sees each obstacle where it stood before it moved. Everything in a lane moves alike,
// so whatever left the screen is at the front.
template <class Lane, class R, class Sink, class Show>
void stepLane(Lane& lane, R& first, R& second, const LaneContext& c, Sink& cues, Show&& show)
{
    if (lane.empty())
        return;
    for (auto it = lane.begin(); it != lane.end();) {
        auto& o = *it;
        show(o);
        moveDown(o, c.riverSpeed);
        if (c.gameOver) {
            ++it;
            continue;
        }
        if (touches(o, first) && o.damage != 0)
            hit(first, o, c.now, cues);
        if (touches(o, second) && o.damage != 0)
            hit(second, o, c.now, cues);
        if (o.damage == 0 && (o.hitRider[0] || o.hitRider[1])) {
            cues.play(static_cast<SoundEvent>(o.sound));
            R& receiver = o.hitRider[1] ? second : first;
            receiver.mass = static_cast<float>(static_cast<double>(receiver.mass) + 5.0);
            if (receiver.mass > 150.0f)
                receiver.mass = 150.0f;
            it = lane.erase(it);
            continue;
        }
        ++it;
    }
    while (!lane.empty() && gone(lane.front(), c.screenH))
        dropFront(lane);
}

// Where a new obstacle's left edge goes: clear of the 100-pixel banks on both sides.
inline float startX(int width, RandomState& random)
{
    // Anything as wide as the screen spans the river from the left border.
    if (width >= SCREEN_WIDTH)
        return 0.0f;
    const int range = SCREEN_WIDTH - 200 - width;
    const int draw = nextRandom(random);
    // Too wide to fit between the banks: hug the left bank rather than divide by nothing.
    if (range <= 0)
        return 100.0f;
    return static_cast<float>(draw % range + 100);
}

// At most one obstacle into one lane: the kind, then the phase, then the position are drawn
// from the game's generator. A bridge waits 10 ticks after the last spawn, unsigned on
// purpose: a tick left over from the last game wraps and lets it through.
template <class Lanes>
void spawn(Lanes& lanes, uint32_t now, uint32_t& lastSpawnTick, RandomState& random)
{
    const int kind = nextRandom(random) % 4;
    if (kind == KIND_BRIDGE && now - lastSpawnTick < 10u)
        return;
    lastSpawnTick = now;
    const int phase = nextRandom(random) % 20;
    ObstacleState o = freshObstacle(kind, phase);
    o.x = startX(o.width, random);
    lanes[kind].push_back(o);
}

} // namespace rules
