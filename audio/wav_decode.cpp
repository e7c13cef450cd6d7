#include "audio/wav_decode.h"

#include "files/little_endian.h"

#include <cstring>
#include <sndfile.h>

// libsndfile reads the WAV. This side checks first what it does not: that the file is a RIFF
// WAVE, as the library's loader demands, and that the data chunk holds as many bytes as it
// claims (libsndfile plays what is there of a file cut short). A length of 0 or 0xFFFFFFFF,
// which recorders leave when they stream, means "up to the end of the file".

namespace {

bool looksLikeChunkId(const unsigned char* p)
{
    for (int i = 0; i < 4; ++i)
        if (p[i] < 0x20 || p[i] > 0x7e)
            return false;
    return true;
}

// Finds the data chunk. Chunks of odd length are followed by a pad byte, which some writers
// leave out (and the library's own loader never skips): a pad is a zero, and where a chunk
// name stands instead the walk notes the missing pad.
bool dataChunkComplete(const unsigned char* data, size_t size, std::vector<size_t>* missingPads, std::string* why)
{
    uint64_t pos = 12;
    while (pos + 8 <= size) {
        const unsigned char* chunk = data + pos;
        const uint64_t length = u32At(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0) {
            if (length != 0 && length != 0xffffffffu && length > size - (pos + 8))
                return fail(why, "the sound data is cut short: " + std::to_string(size - (pos + 8)) + " of " +
                                     std::to_string(length) + " bytes");
            return true;
        }
        pos += 8 + length;
        if (length & 1) {
            if (pos + 4 <= size && data[pos] != 0 && looksLikeChunkId(data + pos))
                missingPads->push_back(static_cast<size_t>(pos));
            else
                ++pos;
        }
    }
    return fail(why, "no sound data in the file");
}

struct Memory {
    const unsigned char* data;
    sf_count_t size;
    sf_count_t pos;
};

sf_count_t memoryLength(void* user)
{
    return static_cast<Memory*>(user)->size;
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user)
{
    Memory* m = static_cast<Memory*>(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->pos : m->size;
    if (offset < -base || offset > INT64_MAX / 2 - base)
        return -1;
    m->pos = base + offset;
    return m->pos;
}

sf_count_t memoryRead(void* to, sf_count_t count, void* user)
{
    Memory* m = static_cast<Memory*>(user);
    const sf_count_t left = m->pos < m->size ? m->size - m->pos : 0;
    const sf_count_t n = count < left ? count : left;
    if (n > 0)
        std::memcpy(to, m->data + m->pos, static_cast<size_t>(n));
    m->pos += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t memoryTell(void* user)
{
    return static_cast<Memory*>(user)->pos;
}

} // namespace

bool decodeWavSound(const unsigned char* data, size_t size, Sound* out, std::string* why)
{
    if (!data || !out || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return fail(why, "not a RIFF WAVE file");
    std::vector<size_t> missingPads;
    if (!dataChunkComplete(data, size, &missingPads, why))
        return false;
    // libsndfile insists on the pads: it gets a copy with them put in.
    std::vector<unsigned char> padded;
    if (!missingPads.empty()) {
        size_t from = 0;
        for (size_t at : missingPads) {
            padded.insert(padded.end(), data + from, data + at);
            padded.push_back(0);
            from = at;
        }
        padded.insert(padded.end(), data + from, data + size);
        data = padded.data();
        size = padded.size();
    }

    SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    Memory memory{data, static_cast<sf_count_t>(size), 0};
    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &memory);
    if (!file)
        return fail(why, std::string("libsndfile refused it: ") + sf_strerror(nullptr));

    bool ok = false;
    const int major = info.format & SF_FORMAT_TYPEMASK;
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX) {
        fail(why, "not a WAV file");
    } else if (subtype != SF_FORMAT_PCM_U8 && subtype != SF_FORMAT_PCM_16) {
        fail(why, "not 8 or 16-bit PCM");
    } else if (info.channels != 1 && info.channels != 2) {
        fail(why, std::to_string(info.channels) + " channels, where the game plays 1 or 2");
    } else if (info.samplerate < minWavRate || info.samplerate > maxWavRate) {
        fail(why, "a rate of " + std::to_string(info.samplerate) + " frames a second");
    } else if (info.frames < 1) {
        // The mixer cannot loop a sound of no length.
        fail(why, "no sound in the data chunk");
    } else if (static_cast<uint64_t>(info.frames) * info.channels > size) {
        fail(why, "more frames than the file can hold");
    } else {
        out->bits = subtype == SF_FORMAT_PCM_U8 ? 8 : 16;
        out->channels = info.channels;
        out->rate = info.samplerate;
        out->samples.resize(static_cast<size_t>(info.frames) * info.channels);
        const sf_count_t got = sf_readf_short(file, out->samples.data(), info.frames);
        ok = got == info.frames || fail(why, "the sound data is cut short");
    }
    sf_close(file);
    return ok;
}
