#include "obstacles/obstacle.h"

#include "riders/cues.h"

// The bridge spans the 800-pixel river.
ObstacleRules obstacleRules[4] = {
    {100, 100, 3, 10, 0.0f, SND_ROCK},
    {200, 100, 2, 5, 5.0f, SND_LOG},
    {50, 50, 7, 0, 0.0f, SND_BURGER},
    {800, defaultBridgeHeight, 4, 10, 0.0f, SND_BRIDGE},
};

void setBridgeHeight(int height)
{
    obstacleRules[KIND_BRIDGE].height = height;
}

ObstacleState freshObstacle(int kind, int32_t phase)
{
    const ObstacleRules& k = obstacleRules[kind];
    ObstacleState o;
    o.ownSpeed = k.ownSpeed;
    o.phase = phase;
    o.damage = k.damage;
    o.sound = k.sound;
    o.height = k.height;
    o.width = k.width;
    o.layerMask = k.layerMask;
    o.kind = static_cast<uint8_t>(kind);
    o.y = static_cast<float>(-o.height);
    return o;
}
