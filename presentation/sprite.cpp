#include "presentation/sprite.h"

#include <allegro.h>

#include "presentation/masked_copy.h"

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

// The plain sprite shows its first frame opaquely and has no animation.
void Sprite::draw(BITMAP* dest, int x, int y)
{
    if (!bitmap)
        return;
    blit(bitmap, dest, 0, 0, x - hotX, y - hotY, frameWidth, frameHeight);
}

void Sprite::drawPhase(BITMAP* dest, int x, int y, uint32_t)
{
    Sprite::draw(dest, x, y);
}

void AnimatedSprite::draw(BITMAP* dest, int x, int y)
{
    drawPhase(dest, x, y, phase);
}

static uint32_t noClock()
{
    return 0;
}

uint32_t (*spriteClock)() = noClock;

static thread_local bool timeSet = false;
static thread_local uint32_t timeNow = 0;

SpriteTime::SpriteTime(uint32_t now) : wasSet_(timeSet), was_(timeNow)
{
    timeSet = true;
    timeNow = now;
}

SpriteTime::~SpriteTime()
{
    timeSet = wasSet_;
    timeNow = was_;
}

void AnimatedSprite::drawPhase(BITMAP* dest, int x, int y, uint32_t startTick)
{
    // An uninitialised sprite has nothing to show and nothing to divide by.
    if (!bitmap || frameCount < 1 || ticksPerFrame < 1)
        return;
    const uint32_t elapsed = (timeSet ? timeNow : spriteClock()) - startTick;
    const uint32_t cycle = static_cast<uint32_t>(frameCount) * static_cast<uint32_t>(ticksPerFrame);
    // A cycle of exactly 2^32 ticks (or a multiple) leaves no low bits: nothing wraps sooner.
    const uint32_t inCycle = cycle == 0 ? elapsed : elapsed % cycle;
    const uint32_t frame = inCycle / static_cast<uint32_t>(ticksPerFrame);
    maskedCopy(bitmap, dest, static_cast<int>(frame) * frameWidth, 0, x - hotX, y - hotY,
                frameWidth, frameHeight);
}

AnimatedSprite::~AnimatedSprite() = default;
