#include "riders/rider.h"

#include "riders/collision.h"

Rider* riders[2] = {nullptr, nullptr};

Rider::Rider()
    : actionKey(85), leftKey(82), rightKey(83), surfaceSprite(), submergedSprite(),
      airborneSprite(), windUpSprite(), shadowSprite(), index(0)
{
    // The game setup places and names the rider before it is first shown.
    x = 0.0f;
    name[0] = '\0';
    reset();
}

Rider::~Rider() = default;

void Rider::reset()
{
    velocity = 0.0f;
    acceleration = 0.0f;
    mass = 100.0f;
    health = 200;
    verticalSpeed = 0.0f;
    height = 0.0f;
    state = STATE_SURFACE;
    currentSprite = &surfaceSprite;
    actionHeld = false;
    actionPressTick = 0;
    blinkUntil = 0;
}

// The collision sees this step's velocities and any dive or emerge, but the positions
// the previous step left; riders[0] always goes first.
void updateRiders()
{
    const RiderInput inputs[2] = {keyboardInput(*riders[0]), keyboardInput(*riders[1])};
    updateRiders(inputs);
}

void updateRiders(const RiderInput inputs[2])
{
    riders[0]->handleInput(inputs[0]);
    riders[1]->handleInput(inputs[1]);
    riders[0]->applyDrag();
    riders[1]->applyDrag();
    riders[0]->integrateVelocity();
    riders[1]->integrateVelocity();
    resolveRiderCollision();
    riders[0]->move();
    riders[1]->move();
}

void freeRiders()
{
    for (Rider*& rider : riders) {
        delete rider;
        rider = nullptr;
    }
}
