#include <allegro.h>

#include <cmath>

#include "app/clock.h"
#include "app/game.h"
#include "audio/sound.h"
#include "riders/rider.h"

void Rider::handleInput()
{
    handleInput(keyboardInput(*this));
}

void Rider::handleInput(const RiderInput& input)
{
    // No steering or action key in the air, nor once the game is decided.
    if ((state & STATE_AIRBORNE) || gameOver)
        return;

    if (input.left)
        acceleration = static_cast<float>(acceleration - 100.0 / mass);
    if (input.right)
        acceleration = static_cast<float>(acceleration + 100.0 / mass);

    const bool down = input.action;
    const uint32_t now = ticks;
    if (down && !actionHeld) {
        actionPressTick = now;
        actionHeld = true;
        currentSprite = &windUpSprite;
    } else if (!down && actionHeld) {
        if (now <= actionPressTick + 20) {
            // The longer the charge, the higher the jump; heavier riders jump lower.
            const uint32_t charge = ((now - actionPressTick) + 10) * 15;
            verticalSpeed = static_cast<float>(charge / std::sqrt(static_cast<double>(mass)));
            state = STATE_AIRBORNE;
            currentSprite = &airborneSprite;
            playSound(SND_JUMP);
        } else if (state & STATE_SUBMERGED) {
            height = 0.0f;
            state = STATE_SURFACE;
            currentSprite = &surfaceSprite;
            playSound(SND_EMERGE);
        }
        actionHeld = false;
    } else if (down && actionHeld) {
        // Setting the height to exactly -80 makes this fire once per hold.
        if (now >= actionPressTick + 20 && height != -80.0f) {
            height = -80.0f;
            state = STATE_SUBMERGED;
            currentSprite = &submergedSprite;
            playSound(SND_DIVE);
        }
    }
}

void Rider::applyDrag()
{
    if (velocity == 0.0f || (state & STATE_AIRBORNE))
        return;
    if (velocity > 0.0f)
        acceleration = static_cast<float>(acceleration - 50.0 / mass);
    else
        acceleration = static_cast<float>(acceleration + 50.0 / mass);
}

void Rider::integrateVelocity()
{
    // A rider that would turn round within one step stops for that step instead.
    const double v = velocity;
    const double a = acceleration;
    if (std::fabs(a) > std::fabs(v) && v * a < 0.0)
        velocity = 0.0f;
    else
        velocity = static_cast<float>(v + a);
}
