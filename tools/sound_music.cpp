#include <cmath>

#include "sound_effects.h"

namespace sound {

namespace {

const double BEAT = 0.5;  // 120 beats a minute
const int BARS = 8;
const double EIGHTH = BEAT / 2;

struct Note {
    int pitch;  // MIDI note, 0 for a rest
    int eighths;
};

// One bar of melody per chord; every bar adds up to eight eighths.
const Note MELODY[BARS][8] = {
    {{76, 1}, {79, 1}, {84, 2}, {79, 1}, {76, 1}, {74, 1}, {76, 1}},
    {{74, 1}, {79, 1}, {83, 2}, {81, 1}, {79, 1}, {77, 1}, {74, 1}},
    {{72, 1}, {76, 1}, {81, 2}, {79, 1}, {76, 1}, {72, 1}, {76, 1}},
    {{77, 2}, {81, 1}, {84, 1}, {81, 2}, {79, 2}},
    {{76, 1}, {79, 1}, {84, 1}, {86, 1}, {88, 2}, {86, 1}, {84, 1}},
    {{83, 1}, {81, 1}, {79, 1}, {81, 1}, {83, 2}, {79, 2}},
    {{81, 1}, {84, 1}, {81, 1}, {77, 1}, {79, 1}, {83, 1}, {86, 1}, {83, 1}},
    {{84, 2}, {79, 1}, {76, 1}, {72, 2}, {0, 2}},
};

// Chord roots (MIDI, bass octave) for each half bar, with the chord's third and fifth.
struct Chord {
    int root, third, fifth;
};
const Chord C = {48, 52, 55}, G = {43, 47, 50}, Am = {45, 48, 52}, F = {41, 45, 48};
const Chord HARMONY[BARS][2] = {{C, C}, {G, G}, {Am, Am}, {F, F}, {C, C}, {G, G}, {F, G}, {C, C}};

void drums(Wave& w, double t, int beat, uint32_t seed)
{
    if (beat % 2 == 0)
        add(w, Tone{t, 0.16, 130, 45, 0.55, Shape::Sine, 0.002, 0.06});
    else
        add(w, NoiseBurst{t, 0.14, 0.4, 0.001, 0.05, 6000, 2500, 600, seed});
    add(w, NoiseBurst{t + EIGHTH, 0.05, 0.18, 0.001, 0.015, 9000, 0, 4000, seed + 7});
}

} // namespace

Wave music()
{
    Wave w = silence(BARS * 4 * BEAT);
    uint32_t seed = 100;
    for (int bar = 0; bar < BARS; ++bar) {
        const double barStart = bar * 4 * BEAT;
        const bool last = bar == BARS - 1;
        double t = barStart;
        for (const Note& n : MELODY[bar]) {
            if (n.eighths == 0)
                break;
            const double len = n.eighths * EIGHTH;
            if (n.pitch)
                add(w, Tone{t, len * 0.92, midiFreq(n.pitch), 0, 0.32, Shape::Triangle, 0.01, 0.6, 5.5, 0.004});
            t += len;
        }
        for (int beat = 0; beat < 4; ++beat) {
            const double bt = barStart + beat * BEAT;
            const Chord& ch = HARMONY[bar][beat / 2];
            if (last && beat == 3)
                break;
            // Oom-pah bass: root on the strong beats, fifth on the weak ones.
            const int bass = beat % 2 == 0 ? ch.root : ch.fifth - 12;
            add(w, Tone{bt, BEAT * 0.9, midiFreq(bass), 0, 0.5, Shape::Triangle, 0.004, 0.25});
            // Off-beat chord stabs.
            for (int note : {ch.root + 12, ch.third + 12, ch.fifth + 12})
                add(w, Tone{bt + EIGHTH, EIGHTH * 0.7, midiFreq(note), 0, 0.08, Shape::Square, 0.004, 0.08});
            drums(w, bt, beat, seed++);
        }
    }
    normalise(w, 0.7f);
    return w;
}

} // namespace sound
