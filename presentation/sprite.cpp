#include "presentation/sprite.h"

#include <allegro.h>

// STAND-IN until the sprites land.
Sprite::Sprite()
    : frameWidth(0), frameHeight(0), bitmap(nullptr), frameCount(0), hotX(0), hotY(0),
      phase(0), ticksPerFrame(1)
{
}

Sprite::~Sprite() = default;

void Sprite::init(BITMAP* bitmap_, int frameWidth_, int frameHeight_, int hotX_, int hotY_,
                  int frameCount_, uint32_t phase_, int ticksPerFrame_)
{
    bitmap = bitmap_;
    frameWidth = frameWidth_;
    frameHeight = frameHeight_;
    hotX = hotX_;
    hotY = hotY_;
    frameCount = frameCount_;
    phase = phase_;
    ticksPerFrame = ticksPerFrame_;
}

void Sprite::draw(BITMAP*, int, int) {}
void Sprite::drawPhase(BITMAP*, int, int, uint32_t) {}
void AnimatedSprite::draw(BITMAP*, int, int) {}
void AnimatedSprite::drawPhase(BITMAP*, int, int, uint32_t) {}
AnimatedSprite::~AnimatedSprite() = default;
