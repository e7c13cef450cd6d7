#include "obstacles/obstacle.h"

#include <allegro.h>

#include "obstacles/rules.h"
#include "riders/live.h"
#include "riders/rider.h"
#include "simulation/random_state.h"

Obstacle::Obstacle(AnimatedSprite* sprite_, int32_t layerMask_, int32_t damage_,
                   float ownSpeed_, int32_t phase_, int32_t sound_)
    : y(0.0f), ownSpeed(ownSpeed_), phase(phase_), damage(damage_), hitRider{0, 0},
      sound(sound_), height(sprite_->frameHeight), sprite(sprite_), x(0.0f),
      width(sprite_->frameWidth), layerMask(layerMask_)
{
    // The spawn places it across the river.
    y = static_cast<float>(-height);
}

Obstacle::~Obstacle() = default;

void Obstacle::move()
{
    rules::moveDown(*this, riverSpeed);
}

bool Obstacle::isGone() const
{
    return rules::gone(*this, SCREEN_HEIGHT);
}

bool Obstacle::hits(Rider& rider)
{
    return rules::touches(*this, rider);
}

void applyHit(int riderIndex, Obstacle& obstacle, Rider* riders[2])
{
    SharedRandom shared;
    Cues cues;
    cues.random = &shared.state;
    rules::hit(*riders[riderIndex], obstacle, ticks.load(), cues);
    playCues(cues);
}

namespace {

struct KindEntry {
    int frameWidth;
    int frameHeight; // 0: as high as the image
    int frames;
    int ticksPerFrame;
    int32_t layerMask;
    int32_t damage;
    float ownSpeed;
    int32_t sound;
};

// In kind order: rock, log, burger, bridge. The bridge spans the 800-pixel screen.
const KindEntry kindTable[4] = {
    {100, 100, 3, 3, 3, 10, 0.0f, SND_ROCK},
    {200, 100, 4, 3, 2, 5, 5.0f, SND_LOG},
    {50, 50, 1, 1, 7, 0, 0.0f, SND_BURGER},
    {800, 0, 1, 1, 4, 10, 0.0f, SND_BRIDGE},
};

} // namespace

void setObstacleKind(int k, BITMAP* strip, int imageHeight)
{
    const KindEntry& entry = kindTable[k];
    ObstacleKind& kind = obstacleKinds[k];
    kind.sprite.init(strip, entry.frameWidth, entry.frameHeight ? entry.frameHeight : imageHeight,
                     0, 0, entry.frames, 0, entry.ticksPerFrame);
    kind.layerMask = entry.layerMask;
    kind.damage = entry.damage;
    kind.ownSpeed = entry.ownSpeed;
    kind.sound = entry.sound;
}
