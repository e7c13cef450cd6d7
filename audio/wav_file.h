#pragma once
// A sound file read from disk into a sample.
#include <cstddef>
#include <string>

struct SAMPLE;

// Far more than any sound of the game; a bigger file is not one of its sounds.
constexpr size_t maxWavFileBytes = 64u * 1024u * 1024u;

// Loads a WAV sample. Null on failure, with the file and what was wrong with it noted for the
// start-up report.
SAMPLE* loadSampleFile(const char* path);

// Builds a sample from the bytes of a whole WAV file, in the layout the library's own loader
// gives: 8-bit samples unsigned, 16-bit ones with the sign bit flipped. Null when the bytes are
// refused (`why` then says what was wrong) or no sample can be made.
SAMPLE* decodeWav(const unsigned char* data, size_t size, std::string* why = nullptr);
