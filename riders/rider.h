#pragma once
#include <cstdint>
#include "input/input.h"
#include "presentation/sprite.h"

struct BITMAP;

enum : uint8_t {
    STATE_SUBMERGED = 1,
    STATE_SURFACE = 2,
    STATE_AIRBORNE = 4,
};

class Rider {
public:
    Rider();
    virtual ~Rider();

    void reset();
    // Reads the rider's keys in key[] now.
    void handleInput();
    // The same rules, with the three inputs from wherever they come.
    void handleInput(const RiderInput& input);
    void applyDrag();
    void integrateVelocity();
    void move();
    void draw(BITMAP* dest);

    float height;
    float verticalSpeed;
    float x;
    float velocity;
    float acceleration;
    float mass;
    int32_t health;
    int32_t actionKey;
    int32_t leftKey;
    int32_t rightKey;
    AnimatedSprite surfaceSprite;
    AnimatedSprite submergedSprite;
    AnimatedSprite airborneSprite;
    AnimatedSprite windUpSprite;
    AnimatedSprite shadowSprite;
    uint8_t index;
    uint8_t state;
    uint32_t blinkUntil;
    char name[20];
    AnimatedSprite* currentSprite;
    bool actionHeld;
    uint32_t actionPressTick;
};

extern Rider* riders[2];

// One step of both riders: keys, drag, velocity, their collision, then motion.
void updateRiders();
// The same step with each rider's inputs given, rider 0 first.
void updateRiders(const RiderInput inputs[2]);
// Deletes both riders at exit.
void freeRiders();
