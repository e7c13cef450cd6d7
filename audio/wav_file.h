#pragma once

struct SAMPLE;

// Loads a WAV sample, refusing files the library cannot read safely. Null on failure.
SAMPLE* loadSampleFile(const char* path);
