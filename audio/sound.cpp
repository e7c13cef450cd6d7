#include "audio/sound.h"

#include <allegro.h>
#include <cstdlib>

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

static int playVolume = 255;

void setSoundVolume(int percent)
{
    playVolume = percent <= 0 ? 0 : percent >= 100 ? 255 : 255 * percent / 100;
}

static SAMPLE** const slots[14] = {
    &musicSample, &jumpSample, &landSample,     &emergeSample,   &diveSample,
    &logSample,   &rockSample, &burgerSample,   &bridgeSample,   &bumpSamples[0],
    &bumpSamples[1], &stompSample, &bankSample, &gameEndSample,
};

static const char* const files[14] = {
    "./sound/podklad.wav", "./sound/skok.wav",   "./sound/dopad.wav",  "./sound/vynor.wav",
    "./sound/ponor.wav",   "./sound/drevo.wav",  "./sound/skala.wav",  "./sound/hambac.wav",
    "./sound/most.wav",    "./sound/naraz1.wav", "./sound/naraz2.wav", "./sound/naskok.wav",
    "./sound/boink.wav",   "./sound/game_end.wav",
};

bool loadSounds()
{
    for (int i = 0; i < 14; ++i) {
        *slots[i] = loadSampleFile(files[i]);
        if (!*slots[i])
            return true;
    }
    return false;
}

// One of seven steps of 25 around the recorded speed (1000).
static int randomPitch()
{
    return 1000 + 25 * (rand() % 7 - 3);
}

void playSound(SoundEvent event)
{
    SAMPLE* sample;
    int pitch = 1000;
    int loop = 0;
    switch (event) {
    case SND_MUSIC:
        sample = musicSample;
        loop = -1;
        break;
    case SND_GAME_END:
        sample = gameEndSample;
        break;
    case SND_JUMP: sample = jumpSample; pitch = randomPitch(); break;
    case SND_LAND: sample = landSample; pitch = randomPitch(); break;
    case SND_EMERGE: sample = emergeSample; pitch = randomPitch(); break;
    case SND_DIVE: sample = diveSample; pitch = randomPitch(); break;
    case SND_LOG: sample = logSample; pitch = randomPitch(); break;
    case SND_ROCK: sample = rockSample; pitch = randomPitch(); break;
    case SND_BURGER: sample = burgerSample; pitch = randomPitch(); break;
    case SND_BRIDGE: sample = bridgeSample; pitch = randomPitch(); break;
    case SND_BUMP:
        pitch = randomPitch();
        sample = bumpSamples[rand() % 2];
        break;
    case SND_STOMP: sample = stompSample; pitch = randomPitch(); break;
    case SND_BANK: sample = bankSample; pitch = randomPitch(); break;
    default:
        sample = bumpSamples[0];
        pitch = randomPitch();
        break;
    }
    // A sample that never loaded is simply not heard.
    if (sample)
        mixer.play(sample, playVolume, 128, pitch, loop);
}

void stopSound(SoundEvent event)
{
    if (event == SND_MUSIC && musicSample)
        mixer.stop(musicSample);
}
