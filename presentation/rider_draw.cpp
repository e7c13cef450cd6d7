#include <allegro.h>

#include "presentation/draw.h"
#include "classic/live.h"
#include "classic/rider.h"

// The row on which the riders float; one pixel higher per 5 units of height.
static const int WATER_LINE = 500;

static void drawBody(BITMAP* dest, Rider& looks, AnimatedSprite* body, float x, float height,
                     uint8_t state, uint32_t blinkUntil, uint32_t now)
{
    // After a hit the rider blinks: two ticks hidden, two shown, until blinkUntil.
    if (now < blinkUntil) {
        const uint32_t d = blinkUntil - now;
        if ((d / 2) % 2 == 0)
            return;
    }
    const int px = static_cast<int>(x);
    if (state & STATE_AIRBORNE)
        looks.shadowSprite.draw(dest, px, WATER_LINE);
    const int py = static_cast<int>(WATER_LINE - static_cast<double>(height) / 5.0);
    body->draw(dest, px, py);
}

void Rider::draw(BITMAP* dest)
{
    drawBody(dest, *this, currentSprite, x, height, state, blinkUntil, ticks.load());
}

void drawRider(BITMAP* dest, Rider& looks, const RiderState& s, uint32_t blinkUntil, uint32_t now)
{
    // A sprite given by hand is the one the rider shows.
    AnimatedSprite* body = s.body == BODY_OTHER ? looks.currentSprite : looks.bodySprite(s.body);
    drawBody(dest, looks, body, s.x, s.height, s.state, blinkUntil, now);
}
