#include "audio/wav_file.h"

#include <allegro.h>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "audio/wav_check.h"
#include "presentation/file_bytes.h"

namespace {

// Far more than any sound of the game; anything bigger is not one of its files.
constexpr size_t maxFileSize = 64u * 1024u * 1024u;


} // namespace

SAMPLE* decodeWav(const unsigned char* data, size_t size)
{
    WavLayout layout;
    if (!describeWav(data, size, &layout))
        return nullptr;
    SAMPLE* sample = create_sample(layout.bits, layout.channels == 2 ? TRUE : FALSE, layout.rate,
                                   static_cast<int>(layout.frames));
    if (!sample)
        return nullptr;
    const size_t count = layout.frames * static_cast<size_t>(layout.channels);
    const unsigned char* src = data + layout.dataOffset;
    if (layout.bits == 8) {
        // Both WAV and the mixer keep 8-bit samples unsigned.
        unsigned char* dst = static_cast<unsigned char*>(sample->data);
        for (size_t i = 0; i < count; ++i)
            dst[i] = src[i];
    } else {
        // WAV's 16-bit samples are signed little-endian; the mixer wants them unsigned.
        uint16_t* dst = static_cast<uint16_t*>(sample->data);
        for (size_t i = 0; i < count; ++i)
            dst[i] = static_cast<uint16_t>((src[2 * i] | src[2 * i + 1] << 8) ^ 0x8000);
    }
    return sample;
}

SAMPLE* loadSampleFile(const char* path)
{
    if (!path)
        return nullptr;
    std::vector<unsigned char> bytes;
    if (!readWholeFile(path, &bytes, maxFileSize) || bytes.empty())
        return nullptr;
    return decodeWav(bytes.data(), bytes.size());
}
