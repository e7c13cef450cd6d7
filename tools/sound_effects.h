#pragma once
// Every sound file of the game, written into one directory.
#include <string>

#include "sound_synth.h"

namespace sound {

// The looping background tune: a whole number of bars, silent at both ends of the loop.
Wave music();

// podklad.wav and the thirteen effects. False on a failed write.
bool writeSounds(const std::string& dir);

} // namespace sound
