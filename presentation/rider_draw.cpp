#include <allegro.h>

#include "app/clock.h"
#include "riders/rider.h"

// The row on which the riders float; one pixel higher per 5 units of height.
static const int WATER_LINE = 500;

void Rider::draw(BITMAP* dest)
{
    // After a hit the rider blinks: two ticks hidden, two shown, until blinkUntil.
    const uint32_t now = ticks.load();
    if (now < blinkUntil) {
        const uint32_t d = blinkUntil - now;
        if ((d / 2) % 2 == 0)
            return;
    }
    const int px = static_cast<int>(x);
    if (state & STATE_AIRBORNE)
        shadowSprite.draw(dest, px, WATER_LINE);
    const int py = static_cast<int>(WATER_LINE - static_cast<double>(height) / 5.0);
    currentSprite->draw(dest, px, py);
}
