#pragma once
// The samples and how the game plays them: one sound for each game event.
#include <cstdint>

#include "riders/cues.h"

struct SAMPLE;


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
// Plays one cue of a pass: its sample at its pitch, or the music's stop.
void playCue(const Cue& cue);
// Only the music can be stopped.
void stopSound(SoundEvent event);
// Holds the music where it is (a paused game) and lets it go on from there.
void holdMusic(bool held);
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
