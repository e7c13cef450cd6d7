#pragma once
#include <cstdint>

struct SAMPLE;

// A fixed underlying type: obstacle kinds store their sound as a plain number, and any number
// reaching playSound is a valid event (unknown ones play the first bump sound).
enum SoundEvent : int32_t {
    SND_MUSIC = 0,
    SND_JUMP = 1,
    SND_LAND = 2,
    SND_EMERGE = 3,
    SND_DIVE = 4,
    SND_LOG = 5,
    SND_ROCK = 6,
    SND_BURGER = 7,
    SND_BRIDGE = 8,
    SND_BUMP = 9,
    SND_STOMP = 10,
    SND_BANK = 11,
    SND_GAME_END = 12,
};

extern SAMPLE* musicSample;
extern SAMPLE* jumpSample;
extern SAMPLE* landSample;
extern SAMPLE* emergeSample;
extern SAMPLE* diveSample;
extern SAMPLE* logSample;
extern SAMPLE* rockSample;
extern SAMPLE* burgerSample;
extern SAMPLE* bridgeSample;
extern SAMPLE* bumpSamples[2];
extern SAMPLE* stompSample;
extern SAMPLE* bankSample;
extern SAMPLE* gameEndSample;

// Loads the fourteen samples from ./sound/, stopping at the first that fails. True on failure.
bool loadSounds();
// Fire and forget: starts the event's sample on a new voice.
void playSound(SoundEvent event);
// Only the music can be stopped.
void stopSound(SoundEvent event);
// How loud everything plays, from 0 (silent) to 100 (as the sounds were made; the default).
void setSoundVolume(int percent);

// Starts the library's sound with the first device that opens. Without one, a line on
// standard error says so (in place of the sound library's own lines) and the game plays on
// silently.
void startSound();

// The mixer seam: what playSound and stopSound hand to the library. Tests swap in recorders.
struct Mixer {
    void (*play)(SAMPLE* sample, int volume, int pan, int pitch, int loop);
    void (*stop)(SAMPLE* sample);
};
extern Mixer mixer;
extern const Mixer allegroMixer;
