#include "audio/wav_check.h"

#include <cstdint>
#include <cstring>

#include "presentation/file_bytes.h"

namespace {

bool idIs(const unsigned char* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

} // namespace

bool describeWav(const unsigned char* data, size_t size, WavLayout* layout)
{
    if (!data || !layout || size < 12 || !idIs(data, "RIFF") || !idIs(data + 8, "WAVE"))
        return false;
    const uint64_t riffEnd = 8ull + u32At(data + 4);
    if (riffEnd < 12 || riffEnd > size)
        return false;

    bool haveFormat = false;
    uint32_t channels = 0, rate = 0, bits = 0, blockAlign = 0;
    uint64_t pos = 12;
    while (pos + 8 <= riffEnd) {
        const unsigned char* chunk = data + pos;
        const uint64_t length = u32At(chunk + 4);
        const uint64_t body = pos + 8;
        if (length > riffEnd - body)
            return false;
        if (idIs(chunk, "fmt ")) {
            if (haveFormat || length < 16)
                return false;
            const unsigned char* fmt = data + body;
            if (u16At(fmt) != 1) // plain PCM only
                return false;
            channels = u16At(fmt + 2);
            rate = u32At(fmt + 4);
            blockAlign = u16At(fmt + 12);
            bits = u16At(fmt + 14);
            if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16))
                return false;
            if (rate < static_cast<uint32_t>(minWavRate) || rate > static_cast<uint32_t>(maxWavRate))
                return false;
            if (blockAlign != channels * bits / 8)
                return false;
            haveFormat = true;
        } else if (idIs(chunk, "data")) {
            // The samples are read with the format in hand, so it must come first.
            if (!haveFormat)
                return false;
            const uint64_t frames = length / blockAlign;
            if (frames == 0)
                return false;
            layout->channels = static_cast<int>(channels);
            layout->bits = static_cast<int>(bits);
            layout->rate = static_cast<int>(rate);
            layout->dataOffset = static_cast<size_t>(body);
            layout->frames = static_cast<size_t>(frames);
            return true;
        }
        // Chunks are padded to an even length; the pad of the last one may be missing.
        pos = body + length + (length & 1);
    }
    return false;
}

bool wavBytesLookSound(const unsigned char* data, size_t size)
{
    WavLayout layout;
    return describeWav(data, size, &layout);
}
