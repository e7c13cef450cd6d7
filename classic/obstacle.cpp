#include "classic/obstacle.h"

#include "audio/sound.h"
#include "classic/live.h"
#include "classic/random.h"
#include "classic/rider.h"
#include "obstacles/rules.h"

Obstacle::Obstacle(AnimatedSprite* sprite_, int32_t layerMask_, int32_t damage_,
                   float ownSpeed_, int32_t phase_, int32_t sound_)
    : sprite(sprite_)
{
    ownSpeed = ownSpeed_;
    phase = phase_;
    damage = damage_;
    sound = sound_;
    height = sprite->frameHeight;
    width = sprite->frameWidth;
    layerMask = layerMask_;
    for (int k = 0; k < 4; ++k)
        if (sprite == &obstacleKinds[k].sprite)
            kind = static_cast<uint8_t>(k);
    // The spawn places it across the river.
    y = static_cast<float>(-height);
}

Obstacle::Obstacle(const ObstacleState& state)
    : ObstacleState(state), sprite(&obstacleKinds[state.kind].sprite)
{
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

// How each kind's strip is cut: frames and ticks per frame, in kind order.
const int kindFrames[4][2] = {{3, 3}, {4, 3}, {1, 1}, {1, 1}};

} // namespace

void setObstacleKind(int k, BITMAP* strip, int imageHeight)
{
    if (k == KIND_BRIDGE)
        setBridgeHeight(imageHeight);
    const ObstacleRules& rules = obstacleRules[k];
    ObstacleKind& kind = obstacleKinds[k];
    kind.sprite.init(strip, rules.width, rules.height, 0, 0, kindFrames[k][0], 0, kindFrames[k][1]);
    kind.layerMask = rules.layerMask;
    kind.damage = rules.damage;
    kind.ownSpeed = rules.ownSpeed;
    kind.sound = rules.sound;
}
