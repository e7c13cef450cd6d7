#include "sound_synth.h"

#include <cmath>

namespace sound {

namespace {

const double PI = 3.14159265358979323846;
const double FADE = 0.008;

double envelope(double t, double length, double attack, double decay)
{
    double e = std::exp(-t / decay);
    if (t < attack)
        e *= t / attack;
    if (t > length - FADE)
        e *= (length - t) / FADE;
    return e < 0 ? 0 : e;
}

double shapeAt(Shape shape, double phase)
{
    const double p = phase - std::floor(phase);
    switch (shape) {
    case Shape::Sine:
        return std::sin(2 * PI * p);
    case Shape::Triangle:
        return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
    case Shape::Square:
        // Soft-edged so it buzzes without harsh aliasing.
        return std::tanh(4 * std::sin(2 * PI * p)) * 0.8;
    case Shape::Saw:
        return (2 * p - 1) * 0.5 + 0.35 * std::sin(2 * PI * p);
    }
    return 0;
}

class Rng {
public:
    explicit Rng(uint32_t seed) : state(seed * 747796405u + 2891336453u) {}
    double next()
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) * (2.0 / 16777216.0) - 1.0;
    }

private:
    uint32_t state;
};

} // namespace

double midiFreq(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

Wave silence(double seconds)
{
    return Wave(static_cast<size_t>(std::lround(seconds * RATE)), 0.0f);
}

void add(Wave& wave, const Tone& tone)
{
    const long first = std::lround(tone.start * RATE);
    const long count = std::lround(tone.length * RATE);
    const double ratio = tone.freqEnd > 0 ? tone.freqEnd / tone.freq : 1.0;
    double phase = 0;
    for (long i = 0; i < count; ++i) {
        const long at = first + i;
        if (at < 0 || at >= static_cast<long>(wave.size()))
            continue;
        const double t = static_cast<double>(i) / RATE;
        double f = tone.freq * std::pow(ratio, t / tone.length);
        if (tone.vibratoHz > 0)
            f *= 1 + tone.vibratoDepth * std::sin(2 * PI * tone.vibratoHz * t);
        wave[at] += static_cast<float>(tone.amp * envelope(t, tone.length, tone.attack, tone.decay) * shapeAt(tone.shape, phase));
        phase += f / RATE;
    }
}

void add(Wave& wave, const NoiseBurst& noise)
{
    Rng rng(noise.seed);
    const long first = std::lround(noise.start * RATE);
    const long count = std::lround(noise.length * RATE);
    const double ratio = noise.lowpassEnd > 0 ? noise.lowpassEnd / noise.lowpass : 1.0;
    double low = 0, rumble = 0;
    const double hpCoef = noise.highpass > 0 ? 1 - std::exp(-2 * PI * noise.highpass / RATE) : 0;
    for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / RATE;
        const double cut = noise.lowpass * std::pow(ratio, t / noise.length);
        const double coef = 1 - std::exp(-2 * PI * cut / RATE);
        low += coef * (rng.next() - low);
        rumble += hpCoef * (low - rumble);
        const long at = first + i;
        if (at < 0 || at >= static_cast<long>(wave.size()))
            continue;
        wave[at] += static_cast<float>(noise.amp * envelope(t, noise.length, noise.attack, noise.decay) * (low - rumble));
    }
}

void normalise(Wave& wave, float peak)
{
    float loudest = 0;
    for (float s : wave)
        loudest = std::fmax(loudest, std::fabs(s));
    if (loudest <= 0)
        return;
    const float k = peak / loudest;
    for (float& s : wave)
        s *= k;
}

} // namespace sound
