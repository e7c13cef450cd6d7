#pragma once
// The things that drift down the river: their kinds and the record of each one.
#include <cstdint>
#include "riders/sprite.h"

struct BITMAP;
class Rider;

enum {
    KIND_ROCK = 0,
    KIND_LOG = 1,
    KIND_BURGER = 2,
    KIND_BRIDGE = 3,
};

struct ObstacleKind {
    AnimatedSprite sprite;
    int32_t layerMask;
    int32_t damage;
    float ownSpeed;
    int32_t sound;
};

extern ObstacleKind obstacleKinds[4];

class Obstacle {
public:
    Obstacle(AnimatedSprite* sprite, int32_t layerMask, int32_t damage, float ownSpeed,
             int32_t phase, int32_t sound);
    Obstacle(const Obstacle&) = default;
    Obstacle& operator=(const Obstacle&) = default;
    virtual ~Obstacle();

    void draw(BITMAP* dest);
    void move();
    bool hits(Rider& rider);
    bool isGone() const;

    float y;
    float ownSpeed;
    int32_t phase;
    int32_t damage;
    uint8_t hitRider[2];
    int32_t sound;
    int32_t height;
    AnimatedSprite* sprite;
    float x;
    int32_t width;
    int32_t layerMask;
};

// A damaging obstacle hit rider `riderIndex`: its sound, a blink and the damage.
void applyHit(int riderIndex, Obstacle& obstacle, Rider* riders[2]);

// Gives obstacle kind k its sprite, its frame size (the bridge as high as its image) and the
// kind's parameters. A null strip draws nothing.
void setObstacleKind(int k, BITMAP* strip, int imageHeight);
