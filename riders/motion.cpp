#include <allegro.h>

#include "app/clock.h"
#include "app/game.h"
#include "audio/sound.h"
#include "riders/rider.h"

void Rider::move()
{
    // Uses the height before this step's arc, so the bit follows a jump one step late.
    if (height >= 0.0f && height < 20.0f)
        state |= STATE_SURFACE;
    else
        state &= ~STATE_SURFACE;

    if (state & STATE_AIRBORNE) {
        verticalSpeed = static_cast<float>(verticalSpeed - 2.0);
        height = static_cast<float>(static_cast<double>(height) + verticalSpeed);
        if (height < 0.0f) {
            verticalSpeed = 0.0f;
            height = 0.0f;
            state = STATE_SURFACE;
            currentSprite = &surfaceSprite;
            playSound(SND_LAND);
        }
    }

    x = static_cast<float>(static_cast<double>(x) + velocity);

    const int rightLimit = SCREEN_W - 125;
    if (x > rightLimit) {
        x = static_cast<float>(rightLimit);
        velocity = static_cast<float>(-static_cast<double>(velocity) / 2.0);
        health -= 5;
        blinkUntil = ticks + 10;
        playSound(SND_BANK);
    }
    if (x < 125.0f) {
        x = 125.0f;
        velocity = static_cast<float>(-static_cast<double>(velocity) / 2.0);
        health -= 5;
        blinkUntil = ticks + 10;
        playSound(SND_BANK);
    }

    acceleration = 0.0f;

    if (health <= 0) {
        health = 0;
        if (!gameOver) {
            gameOver = true;
            winner = index == 0 ? 1 : 0;
            stopSound(SND_MUSIC);
            playSound(SND_GAME_END);
        }
    }
}
