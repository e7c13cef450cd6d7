#include "audio/sound.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

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

// Without a sound device (a game played without a window, or no sound card) nothing is heard.
static void mixerPlay(SAMPLE* sample, int volume, int pan, int pitch, int loop)
{
    if (!_sound_installed)
        return;
    play_sample(sample, volume, pan, pitch, loop);
}

static void mixerStop(SAMPLE* sample)
{
    if (!_sound_installed)
        return;
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

void playCue(const Cue& cue)
{
    if (cue.stop) {
        stopSound(cue.event);
        return;
    }
    SAMPLE* sample;
    int loop = 0;
    switch (cue.event) {
    case SND_MUSIC:
        sample = musicSample;
        loop = -1;
        break;
    case SND_GAME_END: sample = gameEndSample; break;
    case SND_JUMP: sample = jumpSample; break;
    case SND_LAND: sample = landSample; break;
    case SND_EMERGE: sample = emergeSample; break;
    case SND_DIVE: sample = diveSample; break;
    case SND_LOG: sample = logSample; break;
    case SND_ROCK: sample = rockSample; break;
    case SND_BURGER: sample = burgerSample; break;
    case SND_BRIDGE: sample = bridgeSample; break;
    case SND_BUMP: sample = bumpSamples[cue.variant ? 1 : 0]; break;
    case SND_STOMP: sample = stompSample; break;
    case SND_BANK: sample = bankSample; break;
    default: sample = bumpSamples[0]; break;
    }
    // A sample that never loaded is simply not heard.
    if (sample)
        mixer.play(sample, playVolume, 128, cue.pitch, loop);
}

void playCues(const Cues& cues)
{
    for (int i = 0; i < cues.count; ++i)
        playCue(cues.list[i]);
}

// A held voice no longer counts as playing (voice_check), so it is remembered by number; no
// other sound plays while the game is held, so nothing takes its place meanwhile.
static int heldMusicVoice = -1;

void holdMusic(bool held)
{
    if (!_sound_installed || !musicSample)
        return;
    if (!held) {
        if (heldMusicVoice >= 0)
            voice_start(heldMusicVoice);
        heldMusicVoice = -1;
        return;
    }
    for (int voice = 0; voice < VIRTUAL_VOICES; ++voice)
        if (voice_check(voice) == musicSample) {
            voice_stop(voice);
            heldMusicVoice = voice;
        }
}

void stopSound(SoundEvent event)
{
    if (event == SND_MUSIC && musicSample)
        mixer.stop(musicSample);
}
