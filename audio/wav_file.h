#pragma once
#include <cstddef>

struct SAMPLE;

// Loads a WAV sample, refusing files the library cannot read safely. Null on failure.
SAMPLE* loadSampleFile(const char* path);

// Builds a sample from the bytes of a whole WAV file, after checking them. Null when the bytes
// are refused or no sample can be made.
SAMPLE* decodeWav(const unsigned char* data, size_t size);
