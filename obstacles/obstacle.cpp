#include "obstacles/obstacle.h"

#include <allegro.h>
#include <cmath>
#include <cstdlib>

#include "app/clock.h"
#include "app/game.h"
#include "audio/sound.h"
#include "riders/rider.h"

// Where a new obstacle's left edge goes: clear of the 100-pixel banks on both sides.
static float startX(int width)
{
    // Anything as wide as the screen spans the river from the left border.
    if (width >= SCREEN_W)
        return 0.0f;
    const int range = SCREEN_W - 200 - width;
    const int draw = rand();
    // Too wide to fit between the banks: hug the left bank rather than divide by nothing.
    if (range <= 0)
        return 100.0f;
    return static_cast<float>(draw % range + 100);
}

Obstacle::Obstacle(AnimatedSprite* sprite_, int32_t layerMask_, int32_t damage_,
                   float ownSpeed_, int32_t phase_, int32_t sound_)
    : y(0.0f), ownSpeed(ownSpeed_), phase(phase_), damage(damage_), hitRider{0, 0},
      sound(sound_), height(sprite_->frameHeight), sprite(sprite_), x(0.0f),
      width(sprite_->frameWidth), layerMask(layerMask_)
{
    x = startX(width);
    y = static_cast<float>(-height);
}

Obstacle::~Obstacle() = default;

void Obstacle::draw(BITMAP* dest)
{
    // A game played without a window moves and tests its obstacles but draws nothing.
    if (!dest)
        return;
    sprite->drawPhase(dest, static_cast<int>(x), static_cast<int>(y),
                      static_cast<uint32_t>(phase));
}

void Obstacle::move()
{
    y = static_cast<float>((static_cast<double>(riverSpeed) + static_cast<double>(ownSpeed)) +
                           static_cast<double>(y));
}

bool Obstacle::isGone() const
{
    return y > static_cast<float>(SCREEN_H + height);
}

// The rider's box is 50 x 100 around (x, 500), the row the riders float on.
bool Obstacle::hits(Rider& rider)
{
    if (hitRider[rider.index])
        return false;
    if ((rider.state & layerMask) == 0)
        return false;
    const int halfWidth = width / 2;
    if (!(std::fabs((static_cast<double>(halfWidth) + x) - static_cast<double>(rider.x)) <
          halfWidth + 25))
        return false;
    const int halfHeight = height / 2;
    if (!(std::fabs((static_cast<double>(halfHeight) + y) - 500.0) < halfHeight + 50))
        return false;
    hitRider[rider.index] = 1;
    return true;
}

void applyHit(int riderIndex, Obstacle& obstacle, Rider* riders[2])
{
    playSound(static_cast<SoundEvent>(obstacle.sound));
    Rider* rider = riders[riderIndex];
    rider->blinkUntil = ticks.load() + 10;
    // Not clamped here: the rider's own move() ends the game at 0.
    rider->health -= obstacle.damage;
}
