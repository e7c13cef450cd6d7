#include "obstacles/obstacle.h"

// STAND-IN until the obstacles land.
Obstacle::Obstacle(AnimatedSprite* sprite, int32_t layerMask, int32_t damage, float ownSpeed,
                   int32_t phase, int32_t sound)
    : y(0), ownSpeed(ownSpeed), phase(phase), damage(damage), hitRider{0, 0}, sound(sound),
      height(0), sprite(sprite), x(0), width(0), layerMask(layerMask)
{
}
Obstacle::~Obstacle() = default;
void Obstacle::draw(BITMAP*) {}
void Obstacle::move() {}
bool Obstacle::hits(Rider&) { return false; }
bool Obstacle::isGone() const { return true; }
void applyHit(int, Obstacle&, Rider**) {}
