#pragma once
// The classic game's obstacle record and kinds: an obstacle that carries its sprite, as the
// named operations know it, over the rules' plain record.
#include <cstdint>

#include "obstacles/obstacle.h"
#include "presentation/sprite.h"

struct BITMAP;
class Rider;

struct ObstacleKind {
    AnimatedSprite sprite;
    int32_t layerMask;
    int32_t damage;
    float ownSpeed;
    int32_t sound;
};

extern ObstacleKind obstacleKinds[4];

class Obstacle : public ObstacleState {
public:
    Obstacle(AnimatedSprite* sprite, int32_t layerMask, int32_t damage, float ownSpeed,
             int32_t phase, int32_t sound);
    // A world's obstacle with its kind's sprite.
    Obstacle(const ObstacleState& state);
    Obstacle(const Obstacle&) = default;
    Obstacle& operator=(const Obstacle&) = default;
    virtual ~Obstacle();

    void draw(BITMAP* dest);
    void move();
    bool hits(Rider& rider);
    bool isGone() const;

    AnimatedSprite* sprite;
};

// A damaging obstacle hit rider `riderIndex`: its sound, a blink and the damage.
void applyHit(int riderIndex, Obstacle& obstacle, Rider* riders[2]);

// Gives obstacle kind k its sprite, its frame size (the bridge as high as its image) and the
// kind's parameters; the bridge's height becomes the rules'. A null strip draws nothing.
void setObstacleKind(int k, BITMAP* strip, int imageHeight);
