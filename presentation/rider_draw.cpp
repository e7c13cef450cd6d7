#include <allegro.h>

#include "presentation/draw.h"
#include "presentation/looks.h"
#include "riders/rules.h"

// The row on which the riders float; one pixel higher per 5 units of height.
static const int WATER_LINE = 500;

void drawRiderBody(BITMAP* dest, AnimatedSprite* body, AnimatedSprite* shadow, float x,
                   float height, uint8_t state, uint32_t blinkUntil, uint32_t now)
{
    // After a hit the rider blinks: two ticks hidden, two shown, until blinkUntil.
    if (now < blinkUntil) {
        const uint32_t d = blinkUntil - now;
        if ((d / 2) % 2 == 0)
            return;
    }
    const int px = static_cast<int>(x);
    if ((state & STATE_AIRBORNE) && shadow)
        shadow->draw(dest, px, WATER_LINE);
    const int py = static_cast<int>(WATER_LINE - static_cast<double>(height) / 5.0);
    if (body)
        body->draw(dest, px, py);
}

void drawRider(BITMAP* dest, const RiderLooks& looks, const RiderState& s, uint32_t blinkUntil,
               uint32_t now)
{
    // A sprite given by hand is the one the rider shows.
    AnimatedSprite* body = s.body == BODY_OTHER ? looks.other
                                 : s.body >= 0 && s.body < 4 ? looks.bodies[s.body] : nullptr;
    drawRiderBody(dest, body, looks.shadow, s.x, s.height, s.state, blinkUntil, now);
}
