#include "audio/wav_file.h"

#include <allegro.h>
#include <cstdint>
#include <vector>

#include "audio/wav_decode.h"
#include "files/files.h"

SAMPLE* decodeWav(const unsigned char* data, size_t size, std::string* why)
{
    Sound sound;
    std::string reason;
    if (!decodeWavSound(data, size, &sound, &reason)) {
        if (why)
            *why = reason;
        return nullptr;
    }
    const size_t count = sound.samples.size();
    SAMPLE* sample = create_sample(sound.bits, sound.channels == 2 ? TRUE : FALSE, sound.rate,
                                   static_cast<int>(count / sound.channels));
    if (!sample) {
        if (why)
            *why = "no memory for the sound";
        return nullptr;
    }
    // The mixer keeps 8-bit samples unsigned and 16-bit ones offset by 0x8000.
    if (sound.bits == 8) {
        unsigned char* to = static_cast<unsigned char*>(sample->data);
        for (size_t i = 0; i < count; ++i)
            to[i] = static_cast<unsigned char>((sound.samples[i] >> 8) + 128);
    } else {
        uint16_t* to = static_cast<uint16_t*>(sample->data);
        for (size_t i = 0; i < count; ++i)
            to[i] = static_cast<uint16_t>(sound.samples[i]) ^ 0x8000;
    }
    return sample;
}

SAMPLE* loadSampleFile(const char* path)
{
    std::vector<unsigned char> bytes;
    std::string why;
    if (!path)
        return nullptr;
    if (!readGameFile(path, maxWavFileBytes, &bytes, &why)) {
        noteFileProblem(path, why);
        return nullptr;
    }
    SAMPLE* sample = decodeWav(bytes.data(), bytes.size(), &why);
    if (!sample)
        noteFileProblem(path, "damaged: " + why);
    return sample;
}
