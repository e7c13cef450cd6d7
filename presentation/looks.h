#pragma once
// The drawing's catalogue of looks: the sprites it shows each rider and each obstacle kind as,
// found by rider index and by kind. A missing sprite draws nothing.
#include "presentation/sprite.h"

struct RiderLooks {
    AnimatedSprite* bodies[4]; // by RiderBody
    AnimatedSprite* other;     // the body given by hand (BODY_OTHER)
    AnimatedSprite* shadow;
};

struct Looks {
    RiderLooks riders[2];
    AnimatedSprite* kinds[4]; // by obstacle kind
};

// Where the drawing finds the looks of the game on show; the game's art sets it. Until then
// everything looks like nothing.
extern Looks (*findLooks)();
