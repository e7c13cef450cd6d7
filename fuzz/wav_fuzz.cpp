// Any bytes, read as a WAV: a refusal with a reason, or a sound the mixer can play. A crash or
// a sanitizer report fails the run.
#include <cstdint>
#include <cstdlib>

#include "audio/wav_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Sound sound;
    std::string why;
    if (!decodeWavSound(data, size, &sound, &why)) {
        if (why.empty())
            std::abort();
        return 0;
    }
    if ((sound.bits != 8 && sound.bits != 16) || (sound.channels != 1 && sound.channels != 2) ||
        sound.rate < minWavRate || sound.rate > maxWavRate || sound.samples.empty() ||
        sound.samples.size() % sound.channels != 0)
        std::abort();
    if (sound.bits == 8)
        for (int16_t s : sound.samples)
            if (s % 256 != 0)
                std::abort();
    return 0;
}
