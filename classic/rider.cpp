#include "classic/rider.h"

#include <allegro.h>

#include "classic/collision.h"
#include "classic/live.h"
#include "classic/random.h"

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

AnimatedSprite* Rider::bodySprite(RiderBody body)
{
    switch (body) {
    case BODY_SURFACE: return &surfaceSprite;
    case BODY_SUBMERGED: return &submergedSprite;
    case BODY_AIRBORNE: return &airborneSprite;
    case BODY_WIND_UP: return &windUpSprite;
    default: return nullptr;
    }
}

RiderBody Rider::body() const
{
    if (currentSprite == &surfaceSprite)
        return BODY_SURFACE;
    if (currentSprite == &submergedSprite)
        return BODY_SUBMERGED;
    if (currentSprite == &airborneSprite)
        return BODY_AIRBORNE;
    if (currentSprite == &windUpSprite)
        return BODY_WIND_UP;
    return BODY_OTHER;
}

RiderState stateOf(const Rider& r)
{
    RiderState s;
    s.height = r.height;
    s.verticalSpeed = r.verticalSpeed;
    s.x = r.x;
    s.velocity = r.velocity;
    s.acceleration = r.acceleration;
    s.mass = r.mass;
    s.health = r.health;
    s.index = r.index;
    s.state = r.state;
    s.blinkUntil = r.blinkUntil;
    s.actionHeld = r.actionHeld;
    s.actionPressTick = r.actionPressTick;
    s.body = r.body();
    return s;
}

void putState(Rider& r, const RiderState& s)
{
    r.height = s.height;
    r.verticalSpeed = s.verticalSpeed;
    r.x = s.x;
    r.velocity = s.velocity;
    r.acceleration = s.acceleration;
    r.mass = s.mass;
    r.health = s.health;
    r.index = s.index;
    r.state = s.state;
    r.blinkUntil = s.blinkUntil;
    r.actionHeld = s.actionHeld;
    r.actionPressTick = s.actionPressTick;
    // A sprite given by hand stays.
    if (s.body != BODY_OTHER)
        r.currentSprite = r.bodySprite(s.body);
}

static Contest liveContest()
{
    return Contest{ticks.load(), gameOver, winner, prevRiderHeightSign, SCREEN_WIDTH};
}

void updateRiders()
{
    const RiderInput inputs[2] = {keyboardInput(*riders[0]), keyboardInput(*riders[1])};
    updateRiders(inputs);
}

void updateRiders(const RiderInput inputs[2])
{
    Contest contest = liveContest();
    SharedRandom shared;
    Cues cues;
    cues.random = &shared.state;
    rules::stepRiders(*riders[0], *riders[1], inputs, contest, cues);
    playCues(cues);
}

void resolveRiderCollision()
{
    Contest contest = liveContest();
    SharedRandom shared;
    Cues cues;
    cues.random = &shared.state;
    rules::collide(*riders[0], *riders[1], contest, cues);
    playCues(cues);
}

void Rider::handleInput()
{
    handleInput(keyboardInput(*this));
}

void Rider::handleInput(const RiderInput& input)
{
    SharedRandom shared;
    Cues cues;
    cues.random = &shared.state;
    rules::handleInput(*this, input, ticks.load(), gameOver, cues);
    playCues(cues);
}

void Rider::applyDrag()
{
    rules::applyDrag(*this);
}

void Rider::integrateVelocity()
{
    rules::integrateVelocity(*this);
}

void Rider::move()
{
    Contest contest = liveContest();
    SharedRandom shared;
    Cues cues;
    cues.random = &shared.state;
    rules::move(*this, contest, cues);
    playCues(cues);
}

RiderInput keyboardInput(const Rider& rider)
{
    RiderInput input;
    input.left = key[rider.leftKey] != 0;
    input.right = key[rider.rightKey] != 0;
    input.action = key[rider.actionKey] != 0;
    return input;
}

void freeRiders()
{
    for (Rider*& rider : riders) {
        delete rider;
        rider = nullptr;
    }
}
