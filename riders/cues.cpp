#include "riders/cues.h"

// One of seven steps of 25 around the recorded speed (1000).
static int16_t randomPitch(RandomState& random)
{
    return static_cast<int16_t>(1000 + 25 * (nextRandom(random) % 7 - 3));
}

Cue drawCue(SoundEvent event, RandomState& random)
{
    Cue cue{event, 1000, 0, false};
    switch (event) {
    case SND_MUSIC:
    case SND_GAME_END:
        break;
    case SND_BUMP:
        cue.pitch = randomPitch(random);
        cue.variant = static_cast<int8_t>(nextRandom(random) % 2);
        break;
    default:
        cue.pitch = randomPitch(random);
        break;
    }
    return cue;
}
