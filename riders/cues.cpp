#include "riders/cues.h"

#include <cstdlib>

// One of seven steps of 25 around the recorded speed (1000).
static int16_t randomPitch()
{
    return static_cast<int16_t>(1000 + 25 * (rand() % 7 - 3));
}

Cue drawCue(SoundEvent event)
{
    Cue cue{event, 1000, 0, false};
    switch (event) {
    case SND_MUSIC:
    case SND_GAME_END:
        break;
    case SND_BUMP:
        cue.pitch = randomPitch();
        cue.variant = static_cast<int8_t>(rand() % 2);
        break;
    default:
        cue.pitch = randomPitch();
        break;
    }
    return cue;
}
