#pragma once
// The two riders: their record, the rules that move them, and the global pair on show.
#include <cstdint>
#include "input/input.h"
#include "riders/rules.h"
#include "presentation/sprite.h"

struct BITMAP;

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

    // The sprite of a body; nullptr for BODY_OTHER.
    AnimatedSprite* bodySprite(RiderBody body);
    // Which body currentSprite is, or BODY_OTHER.
    RiderBody body() const;

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

inline void setBody(Rider& rider, RiderBody body)
{
    rider.currentSprite = rider.bodySprite(body);
}

extern Rider* riders[2];

// One step of both riders: keys, drag, velocity, their collision, then motion.
void updateRiders();
// The same step with each rider's inputs given, rider 0 first.
void updateRiders(const RiderInput inputs[2]);
// Deletes both riders at exit.
void freeRiders();

// The rider's own three keys as key[] holds them right now.
RiderInput keyboardInput(const Rider& rider);

// A rider's rule fields as the rules' record, and back (the keys, name and sprites stay).
RiderState stateOf(const Rider& rider);
void putState(Rider& rider, const RiderState& state);
