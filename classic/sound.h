#pragma once
// The classic game's own sound call.
#include "riders/cues.h"

// Fire and forget: starts the event's sample on a new voice, its pitch drawn now from the C
// library's generator, as rand() would draw it.
void playSound(SoundEvent event);
