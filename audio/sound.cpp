#include "audio/sound.h"

#include <allegro.h>

#include "audio/wav_file.h"

SAMPLE* musicSample = nullptr;
SAMPLE* jumpSample = nullptr;
SAMPLE* landSample = nullptr;
SAMPLE* emergeSample = nullptr;
SAMPLE* diveSample = nullptr;
SAMPLE* logSample = nullptr;
SAMPLE* rockSample = nullptr;
SAMPLE* burgerSample = nullptr;
SAMPLE* bridgeSample = nullptr;
SAMPLE* bumpSamples[2] = {nullptr, nullptr};
SAMPLE* stompSample = nullptr;
SAMPLE* bankSample = nullptr;
SAMPLE* gameEndSample = nullptr;

static void mixerPlay(SAMPLE* sample, int volume, int pan, int pitch, int loop)
{
    play_sample(sample, volume, pan, pitch, loop);
}

static void mixerStop(SAMPLE* sample)
{
    stop_sample(sample);
}

const Mixer allegroMixer = {mixerPlay, mixerStop};
Mixer mixer = allegroMixer;

// STAND-IN until the sound events land.
bool loadSounds()
{
    return false;
}

void playSound(SoundEvent)
{
}

void stopSound(SoundEvent)
{
}
