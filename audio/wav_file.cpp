#include "audio/wav_file.h"

#include <allegro.h>

// STAND-IN until the file checks land.
SAMPLE* loadSampleFile(const char* path)
{
    return load_sample(path);
}
