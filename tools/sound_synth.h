#pragma once
// Small synthesiser for the game's sounds: oscillators with pitch sweeps, filtered noise and
// envelopes, all mixed into a buffer of floats at RATE samples a second.
#include <cstdint>
#include <vector>

namespace sound {

const int RATE = 22050;
using Wave = std::vector<float>;

enum class Shape { Sine, Triangle, Square, Saw };

struct Tone {
    double start = 0;      // seconds into the buffer
    double length = 0.2;   // seconds, ends with a short fade to silence
    double freq = 440;     // Hz at the start ...
    double freqEnd = 0;    // ... and at the end (0: no sweep); the sweep is exponential
    double amp = 0.5;
    Shape shape = Shape::Sine;
    double attack = 0.005;  // seconds
    double decay = 10;      // time constant of the exponential decay, seconds
    double vibratoHz = 0, vibratoDepth = 0;  // depth as a fraction of the frequency
};

struct NoiseBurst {
    double start = 0, length = 0.2, amp = 0.5;
    double attack = 0.002, decay = 0.1;
    double lowpass = 4000, lowpassEnd = 0;  // cut-off in Hz, swept like a tone (0: fixed)
    double highpass = 0;                    // removes the rumble below this, Hz
    uint32_t seed = 1;
};

double midiFreq(int note);
Wave silence(double seconds);
void add(Wave& wave, const Tone& tone);
void add(Wave& wave, const NoiseBurst& noise);
// Scales so that the loudest sample is `peak` of full scale.
void normalise(Wave& wave, float peak);

} // namespace sound
