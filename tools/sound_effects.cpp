#include "sound_effects.h"

#include <cmath>

#include "wav_writer.h"

namespace sound {

namespace {

const float EFFECT_PEAK = 0.8f;

void bubbles(Wave& w, double from, double to, int count, double low, double high, uint32_t seed)
{
    uint32_t s = seed;
    for (int k = 0; k < count; ++k) {
        s = s * 1664525u + 1013904223u;
        const double u = (s >> 8) / 16777216.0;
        s = s * 1664525u + 1013904223u;
        const double v = (s >> 8) / 16777216.0;
        const double f = low + (high - low) * v;
        add(w, Tone{from + (to - from) * u, 0.05, f, f * 1.9, 0.35, Shape::Sine, 0.003, 0.02});
    }
}

Wave jump()
{
    Wave w = silence(0.3);
    add(w, Tone{0, 0.28, 260, 880, 0.8, Shape::Sine, 0.005, 0.12});
    add(w, Tone{0, 0.2, 520, 1760, 0.2, Shape::Triangle, 0.005, 0.08});
    add(w, NoiseBurst{0, 0.1, 0.3, 0.002, 0.04, 3000, 0, 400, 11});
    return w;
}

Wave land()
{
    Wave w = silence(0.45);
    add(w, NoiseBurst{0, 0.45, 0.9, 0.003, 0.12, 5000, 600, 150, 21});
    add(w, Tone{0, 0.2, 110, 50, 0.7, Shape::Sine, 0.003, 0.07});
    bubbles(w, 0.05, 0.3, 5, 500, 900, 22);
    return w;
}

Wave emerge()
{
    Wave w = silence(0.45);
    bubbles(w, 0.0, 0.22, 9, 400, 1100, 31);
    add(w, NoiseBurst{0.18, 0.27, 0.7, 0.01, 0.08, 2500, 6000, 300, 32});
    add(w, Tone{0.18, 0.15, 300, 600, 0.3, Shape::Sine, 0.005, 0.06});
    return w;
}

Wave dive()
{
    Wave w = silence(0.5);
    add(w, NoiseBurst{0, 0.25, 0.7, 0.002, 0.07, 6000, 800, 200, 41});
    add(w, Tone{0.02, 0.3, 700, 160, 0.6, Shape::Sine, 0.005, 0.12});
    bubbles(w, 0.12, 0.45, 8, 250, 600, 42);
    return w;
}

Wave logHit()
{
    Wave w = silence(0.4);
    // A hollow wooden knock: a few damped modes and a click.
    const double modes[4][2] = {{196, 0.8}, {412, 0.45}, {655, 0.3}, {1040, 0.18}};
    for (const auto& m : modes)
        add(w, Tone{0, 0.38, m[0], m[0] * 0.97, m[1], Shape::Sine, 0.001, 0.07});
    add(w, NoiseBurst{0, 0.04, 0.6, 0.0005, 0.01, 7000, 0, 800, 51});
    add(w, Tone{0.09, 0.25, 180, 170, 0.35, Shape::Sine, 0.001, 0.05});
    return w;
}

Wave rockHit()
{
    Wave w = silence(0.5);
    add(w, Tone{0, 0.3, 90, 40, 0.9, Shape::Sine, 0.001, 0.09});
    add(w, NoiseBurst{0, 0.45, 0.9, 0.001, 0.1, 3500, 700, 80, 61});
    add(w, NoiseBurst{0.03, 0.15, 0.5, 0.001, 0.03, 8000, 0, 1500, 62});
    return w;
}

Wave burger()
{
    Wave w = silence(0.5);
    // Two chomps, then a bright little pick-up jingle.
    for (int k = 0; k < 2; ++k) {
        add(w, NoiseBurst{k * 0.11, 0.08, 0.5, 0.002, 0.03, 2500, 900, 200, 71u + k});
        add(w, Tone{k * 0.11, 0.08, 180, 120, 0.4, Shape::Square, 0.002, 0.04});
    }
    const int jingle[3] = {76, 79, 84};
    for (int k = 0; k < 3; ++k)
        add(w, Tone{0.22 + k * 0.07, 0.14, midiFreq(jingle[k]), 0, 0.45, Shape::Triangle, 0.003, 0.1});
    return w;
}

Wave bridgeHit()
{
    Wave w = silence(0.7);
    // A heavy plank clonk that rattles along the bridge.
    for (int k = 0; k < 4; ++k) {
        const double t = k * 0.09, a = std::pow(0.55, k);
        add(w, Tone{t, 0.3, 140, 120, 0.9 * a, Shape::Sine, 0.001, 0.08});
        add(w, Tone{t, 0.2, 350, 330, 0.4 * a, Shape::Triangle, 0.001, 0.05});
        add(w, NoiseBurst{t, 0.08, 0.7 * a, 0.001, 0.02, 4000, 0, 300, 81u + k});
    }
    return w;
}

Wave bump(double f0, double f1, double squeak, uint32_t seed)
{
    Wave w = silence(0.3);
    add(w, Tone{0, 0.25, f0, f1, 0.9, Shape::Sine, 0.002, 0.07});
    add(w, Tone{0, 0.18, f0 * 2.4, f1 * 3, squeak, Shape::Triangle, 0.002, 0.05, 30, 0.04});
    add(w, NoiseBurst{0, 0.05, 0.3, 0.001, 0.015, 3000, 0, 200, seed});
    return w;
}

Wave stomp()
{
    Wave w = silence(0.45);
    add(w, Tone{0, 0.3, 150, 38, 1.0, Shape::Sine, 0.001, 0.1});
    add(w, NoiseBurst{0, 0.2, 0.6, 0.001, 0.05, 2500, 400, 100, 91});
    add(w, Tone{0.08, 0.25, 420, 200, 0.35, Shape::Square, 0.005, 0.08, 22, 0.06});
    return w;
}

Wave bank()
{
    Wave w = silence(0.6);
    // A spring's boing: pitch wobbling while it dies away.
    add(w, Tone{0, 0.58, 330, 300, 0.9, Shape::Sine, 0.002, 0.18, 16, 0.12});
    add(w, Tone{0, 0.4, 660, 600, 0.25, Shape::Triangle, 0.002, 0.1, 16, 0.12});
    add(w, NoiseBurst{0, 0.06, 0.3, 0.001, 0.02, 2500, 0, 200, 101});
    return w;
}

Wave fanfare()
{
    Wave w = silence(2.4);
    const int run[4] = {67, 72, 76, 79};
    for (int k = 0; k < 4; ++k) {
        const double t = k * 0.14;
        add(w, Tone{t, 0.13, midiFreq(run[k]), 0, 0.4, Shape::Saw, 0.01, 0.5});
        add(w, Tone{t, 0.13, midiFreq(run[k] - 12), 0, 0.25, Shape::Square, 0.01, 0.5});
    }
    const double hold = 0.6;
    for (int note : {72, 76, 79, 84})
        add(w, Tone{hold, 1.7, midiFreq(note), 0, note == 84 ? 0.4 : 0.22, Shape::Saw, 0.03, 1.2, 5, 0.006});
    add(w, Tone{hold, 1.7, midiFreq(48), 0, 0.4, Shape::Triangle, 0.02, 1.0});
    add(w, NoiseBurst{hold, 1.0, 0.35, 0.002, 0.4, 9000, 3000, 3000, 111});
    add(w, Tone{hold, 0.4, 110, 45, 0.7, Shape::Sine, 0.002, 0.15});
    return w;
}

bool save(const std::string& path, Wave wave)
{
    normalise(wave, EFFECT_PEAK);
    return writeWav(path, wave, RATE);
}

} // namespace

bool writeSounds(const std::string& dir)
{
    Wave tune = music();
    bool ok = writeWav(dir + "/podklad.wav", tune, RATE);
    ok &= save(dir + "/skok.wav", jump());
    ok &= save(dir + "/dopad.wav", land());
    ok &= save(dir + "/vynor.wav", emerge());
    ok &= save(dir + "/ponor.wav", dive());
    ok &= save(dir + "/drevo.wav", logHit());
    ok &= save(dir + "/skala.wav", rockHit());
    ok &= save(dir + "/hambac.wav", burger());
    ok &= save(dir + "/most.wav", bridgeHit());
    ok &= save(dir + "/naraz1.wav", bump(160, 90, 0.15, 121));
    ok &= save(dir + "/naraz2.wav", bump(240, 130, 0.45, 131));
    ok &= save(dir + "/naskok.wav", stomp());
    ok &= save(dir + "/boink.wav", bank());
    ok &= save(dir + "/game_end.wav", fanfare());
    return ok;
}

} // namespace sound
