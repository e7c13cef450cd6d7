#include "riders/rider.h"

Rider* riders[2] = {nullptr, nullptr};

// STAND-IN until the riders land.
Rider::Rider() : actionKey(85), leftKey(82), rightKey(83), index(0)
{
    reset();
}
Rider::~Rider() = default;
void Rider::reset()
{
    height = verticalSpeed = x = velocity = acceleration = 0.0f;
    mass = 100.0f;
    health = 200;
    state = STATE_SURFACE;
    currentSprite = &surfaceSprite;
    actionHeld = false;
    actionPressTick = blinkUntil = 0;
}
void Rider::handleInput() {}
void Rider::applyDrag() {}
void Rider::integrateVelocity() {}
void Rider::move() {}

void updateRiders() {}

void freeRiders()
{
    for (Rider* rider : riders)
        delete rider;
}
