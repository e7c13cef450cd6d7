#pragma once
// WAV bytes to samples, through libsndfile.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The decoder behind loadSampleFile, kept apart from the library so it can be fuzzed alone.

// A decoded sound: interleaved frames of signed 16-bit samples, and the depth of the file
// (8-bit files keep their 8 bits: each sample is then a multiple of 256).
struct Sound {
    int bits = 0;     // 8 or 16
    int channels = 0; // 1 or 2
    int rate = 0;     // frames per second
    std::vector<int16_t> samples;
};

constexpr int minWavRate = 1000;
// The mixer keeps a voice's rate times 4096 in an int, and plays a sound up to 7.5 % faster.
constexpr int maxWavRate = 384000;

// Plain PCM WAV of 8 or 16 bits, mono or stereo, read by libsndfile from memory. False with
// `why` for anything else, damaged, or cut short.
bool decodeWavSound(const unsigned char* data, size_t size, Sound* out, std::string* why);
