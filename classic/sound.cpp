#include "classic/sound.h"

#include "audio/sound.h"
#include "classic/random.h"

void playSound(SoundEvent event)
{
    SharedRandom shared;
    playCue(drawCue(event, shared.state));
}
