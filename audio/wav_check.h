#pragma once
#include <cstddef>

// Checks on the raw bytes of a sound file, made before anything decodes it.

// Where the samples of a checked WAV file are. Every offset in it lies inside the buffer.
struct WavLayout {
    int channels = 0; // 1 or 2
    int bits = 0;     // 8 (unsigned) or 16 (signed, little-endian)
    int rate = 0;     // frames per second
    size_t dataOffset = 0;
    size_t frames = 0; // whole frames of `channels` samples in the data chunk, at least one
};

constexpr int minWavRate = 1000;
constexpr int maxWavRate = 192000;

// Walks the RIFF chunks within the buffer and checks the format chunk (plain PCM, 1 or 2
// channels, 8 or 16 bits, a sane rate) and the data chunk. True when the file can be played.
bool describeWav(const unsigned char* data, size_t size, WavLayout* layout);

// True when the bytes are a complete WAV sample of a supported kind.
bool wavBytesLookSound(const unsigned char* data, size_t size);
