#include <cstring>

#include "recording/crc32.h"
#include "recording/recording.h"

static const char magic[8] = {'R', 'D', 'R', 'E', 'C', 'O', 'R', 'D'};
// magic, version, build length; then seed, last spawn tick, height sign, bridge height.
constexpr size_t fixedHead = 8 + 2 + 1;
constexpr size_t startFields = 4 + 4 + 1 + 2;
// Version 1: the pass count, the passes, then the final state and the checksum.
constexpr size_t tail1 = 8 + 4;
// Version 2: the header's checksum; each block is its size, its passes and a checksum; the
// end is a marker, the pass count, the final state and the checksum.
constexpr size_t crcSize = 4;
constexpr uint8_t endMarker = 0xFF;
constexpr size_t endSize = 1 + 4 + 8 + crcSize;

namespace {

struct Writer {
    std::vector<uint8_t>& out;
    void put(uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
};

uint64_t get(const uint8_t* p, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint64_t>(p[i]) << (8 * i);
    return value;
}

bool sealedAt(const uint8_t* data, size_t end, uint32_t crcBefore, size_t from)
{
    return crc32(data + from, end - from, crcBefore) == get(data + end, 4);
}

// The build identity and the start, read from `p` on (version 1 and 2 share them).
std::string readStart(const uint8_t* p, size_t buildLength, Recording& read)
{
    read.build.assign(reinterpret_cast<const char*>(p), buildLength);
    for (char c : read.build)
        if (c < 0x20 || c > 0x7e)
            return "damaged recording: build identity is not plain text";
    p += buildLength;
    read.start.seed = static_cast<uint32_t>(get(p, 4));
    read.start.lastSpawnTick = static_cast<uint32_t>(get(p + 4, 4));
    const int sign = static_cast<int8_t>(p[8]);
    if (sign < -1 || sign > 1)
        return "damaged recording: height order " + std::to_string(sign);
    read.start.prevRiderHeightSign = sign;
    read.geometry.bridgeHeight = static_cast<uint16_t>(get(p + 9, 2));
    if (read.geometry.bridgeHeight < 1 || read.geometry.bridgeHeight > maxBridgeHeight)
        return "damaged recording: bridge height " + std::to_string(read.geometry.bridgeHeight);
    return "";
}

std::string checkBuildLength(size_t buildLength)
{
    if (buildLength == 0 || buildLength > maxBuildLength)
        return "damaged recording: build identity of " + std::to_string(buildLength) + " bytes";
    return "";
}

// A whole version 1 file, its checksum already found right.
std::string decodeVersion1(const uint8_t* data, size_t size, Recording& read)
{
    const size_t buildLength = data[10];
    std::string error = checkBuildLength(buildLength);
    if (!error.empty())
        return error;
    const size_t head = fixedHead + buildLength + startFields + 4;
    if (size < head + tail1)
        return "truncated recording: the header is cut short";
    error = readStart(data + fixedHead, buildLength, read);
    if (!error.empty())
        return error;
    const uint64_t count = get(data + head - 4, 4);
    if (count < 1 || count > maxRecordedPasses)
        return "damaged recording: " + std::to_string(count) + " passes";
    const size_t expected = head + count + tail1;
    if (size < expected)
        return "truncated recording: " + std::to_string(size) + " of " + std::to_string(expected) +
               " bytes";
    if (size > expected)
        return "damaged recording: " + std::to_string(size - expected) + " bytes after its end";
    read.passes.assign(data + head, data + head + count);
    read.finalState = get(data + head + count, 8);
    return "";
}

// The blocks and the end of a version 2 file, from `at` (just after the header). In a
// sealed file (its last four bytes the checksum of the rest) every checksum inside is
// covered by that one; otherwise each block's own is checked, and the file may end in
// the middle of its last piece (a write cut off).
std::string decodeBlocks(const uint8_t* data, size_t size, size_t at, bool sealed, Recording& read)
{
    uint32_t crc = crc32(data, at);
    size_t checked = at;
    read.finished = false;
    while (at < size) {
        const uint8_t marker = data[at];
        const bool isEnd = marker == endMarker;
        if (!isEnd && (marker < 1 || marker > passesPerBlock))
            return "damaged recording: a block of " + std::to_string(marker) + " passes at byte " +
                   std::to_string(at);
        const size_t length = isEnd ? endSize : 1 + marker + crcSize;
        if (size - at < length) {
            if (sealed)
                return "damaged recording: the piece at byte " + std::to_string(at) + " runs past the end";
            read.tornBytes = size - at;
            return "";
        }
        if (isEnd && size - at > length)
            return "damaged recording: " + std::to_string(size - at - length) + " bytes after its end";
        const size_t sum = at + length - crcSize;
        if (!sealed) {
            if (!sealedAt(data, sum, crc, checked))
                return "damaged recording: checksum of the " + std::string(isEnd ? "end" : "block") +
                       " at byte " + std::to_string(at) + " does not match";
            crc = crc32(data + checked, sum + crcSize - checked, crc);
            checked = sum + crcSize;
        }
        if (isEnd) {
            const uint64_t count = get(data + at + 1, 4);
            if (count != read.passes.size() || count < 1)
                return "damaged recording: its end counts " + std::to_string(count) + " passes, it holds " +
                       std::to_string(read.passes.size());
            read.finalState = get(data + at + 5, 8);
            read.finished = true;
            return "";
        }
        if (read.passes.size() + marker > maxRecordedPasses)
            return "damaged recording: more than " + std::to_string(maxRecordedPasses) + " passes";
        read.passes.insert(read.passes.end(), data + at + 1, data + at + 1 + marker);
        at += length;
    }
    return "";
}

// A version 2 header whose checksum is right (or covered), then the rest.
std::string decodeVersion2(const uint8_t* data, size_t size, bool sealed, Recording& read)
{
    const size_t buildLength = data[10];
    std::string error = checkBuildLength(buildLength);
    if (!error.empty())
        return error;
    const size_t head = fixedHead + buildLength + startFields + crcSize;
    if (size < head)
        return "truncated recording: the header is cut short";
    error = readStart(data + fixedHead, buildLength, read);
    if (!error.empty())
        return error;
    return decodeBlocks(data, size, head, sealed, read);
}

std::string otherVersion(uint64_t version)
{
    return "recording format version " + std::to_string(version) + ", this game reads versions " +
           std::to_string(oldestRecordingVersion) + " to " + std::to_string(recordingVersion);
}

// A file whose last four bytes are not the checksum of the rest: an unfinished version 2
// recording whose last write was cut off, or a damaged file.
std::string decodeUnsealed(const uint8_t* data, size_t size, Recording& read)
{
    int same = 0;
    for (size_t i = 0; i < 8 && i < size; ++i)
        same += data[i] == static_cast<uint8_t>(magic[i]);
    // One damaged byte leaves seven of the eight; another kind of file matches none or few.
    if (same < 6)
        return "not a River Duel recording";
    if (size < fixedHead)
        return "truncated recording: the header is cut short";
    const size_t buildLength = data[10];
    const size_t head = fixedHead + buildLength + startFields + crcSize;
    const bool lengthFits = buildLength >= 1 && buildLength <= maxBuildLength;
    if (lengthFits && size >= head && sealedAt(data, head - crcSize, 0, 0)) {
        if (std::memcmp(data, magic, 8) != 0)
            return "not a River Duel recording";
        const uint64_t version = get(data + 8, 2);
        if (version != 2)
            return otherVersion(version);
        return decodeVersion2(data, size, false, read);
    }
    if (lengthFits && size < head)
        return "truncated recording: the header is cut short";
    // The header does not hold together: say "truncated" when a version 1 file is shorter
    // than its header says (most likely cut short), "damaged" otherwise.
    if (lengthFits && get(data + 8, 2) == 1) {
        const size_t expected = head + get(data + head - 4, 4) + tail1;
        if (size < expected)
            return "truncated recording: " + std::to_string(size) + " of " + std::to_string(expected) +
                   " bytes";
    }
    return "damaged recording: checksum does not match";
}

// Every pass byte is a known input, and only the last may leave the game.
std::string checkPasses(const Recording& read)
{
    const size_t count = read.passes.size();
    for (size_t i = 0; i < count; ++i) {
        PassInput pass;
        if (!unpackPass(read.passes[i], pass))
            return "damaged recording: pass " + std::to_string(i) + " holds an unknown input";
        if (pass.leave && i + 1 != count)
            return "damaged recording: the game is left at pass " + std::to_string(i) + " but goes on";
    }
    return "";
}

} // namespace

std::vector<uint8_t> RecordingEncoder::seal(std::vector<uint8_t> bytes)
{
    crc_ = crc32(bytes.data(), bytes.size(), crc_);
    Writer{bytes}.put(crc_, 4);
    crc_ = crc32(bytes.data() + bytes.size() - 4, 4, crc_);
    return bytes;
}

std::vector<uint8_t> RecordingEncoder::header(const Recording& recording)
{
    std::vector<uint8_t> out(magic, magic + 8);
    Writer w{out};
    const size_t buildLength = std::min(recording.build.size(), maxBuildLength);
    w.put(recordingVersion, 2);
    w.put(buildLength, 1);
    out.insert(out.end(), recording.build.begin(), recording.build.begin() + buildLength);
    w.put(recording.start.seed, 4);
    w.put(recording.start.lastSpawnTick, 4);
    w.put(static_cast<uint8_t>(static_cast<int8_t>(recording.start.prevRiderHeightSign)), 1);
    w.put(recording.geometry.bridgeHeight, 2);
    crc_ = 0;
    return seal(std::move(out));
}

std::vector<uint8_t> RecordingEncoder::block(const uint8_t* passes, size_t count)
{
    std::vector<uint8_t> out;
    out.push_back(static_cast<uint8_t>(count));
    out.insert(out.end(), passes, passes + count);
    return seal(std::move(out));
}

std::vector<uint8_t> RecordingEncoder::end(uint32_t passCount, uint64_t finalState)
{
    std::vector<uint8_t> out;
    Writer w{out};
    w.put(endMarker, 1);
    w.put(passCount, 4);
    w.put(finalState, 8);
    return seal(std::move(out));
}

std::vector<uint8_t> encodeRecording(const Recording& recording)
{
    RecordingEncoder encoder;
    std::vector<uint8_t> out = encoder.header(recording);
    const std::vector<uint8_t>& passes = recording.passes;
    for (size_t at = 0; at < passes.size(); at += passesPerBlock) {
        const std::vector<uint8_t> block =
            encoder.block(passes.data() + at, std::min(passesPerBlock, passes.size() - at));
        out.insert(out.end(), block.begin(), block.end());
    }
    if (recording.finished) {
        const std::vector<uint8_t> end = encoder.end(static_cast<uint32_t>(passes.size()), recording.finalState);
        out.insert(out.end(), end.begin(), end.end());
    }
    return out;
}

std::string decodeRecording(const uint8_t* data, size_t size, Recording& recording)
{
    // The checksum first: nothing in a file is believed before it is known to be whole.
    Recording read;
    std::string error;
    const bool sealed = size >= 4 && sealedAt(data, size - 4, 0, 0);
    if (!sealed) {
        error = decodeUnsealed(data, size, read);
    } else if (size < fixedHead || std::memcmp(data, magic, 8) != 0) {
        return "not a River Duel recording";
    } else {
        const uint64_t version = get(data + 8, 2);
        if (version == 1)
            error = decodeVersion1(data, size, read);
        else if (version == 2)
            error = decodeVersion2(data, size, true, read);
        else
            return otherVersion(version);
    }
    if (error.empty())
        error = checkPasses(read);
    if (error.empty())
        recording = std::move(read);
    return error;
}
