#pragma once
// The sounds a pass asks for. The rules only name them; whoever shows the pass plays them.
#include <cstdint>

#include "riders/random.h"

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

// One sound: the event, the pitch it is played at (1000 is as recorded), which of the two
// bump samples, or a stop (only the music stops).
struct Cue {
    SoundEvent event;
    int16_t pitch;
    int8_t variant;
    bool stop;
    bool operator==(const Cue& o) const
    {
        return event == o.event && pitch == o.pitch && variant == o.variant && stop == o.stop;
    }
};

// Draws a cue's pitch (and a bump's sample) from the game's generator as the sound happens.
Cue drawCue(SoundEvent event, RandomState& random);

// The cues of one pass, in the order they happened, their pitches drawn from `random` (the
// stepped world's generator). Only the first `count` are set.
struct Cues {
    static const int MAX = 48;
    Cue list[MAX];
    int count = 0;
    RandomState* random = nullptr;
    // The random numbers are drawn even when the list is full, so the game goes on alike.
    void play(SoundEvent event)
    {
        const Cue cue = drawCue(event, *random);
        if (count < MAX)
            list[count++] = cue;
    }
    void stop(SoundEvent event)
    {
        if (count < MAX)
            list[count++] = Cue{event, 0, 0, true};
    }
};

// What plans that are only tried out hear: nothing, and no random number is drawn.
struct Unheard {
    void play(SoundEvent) {}
    void stop(SoundEvent) {}
};

// Plays them through the mixer, in order.
void playCues(const Cues& cues);
