#include <cstring>

#include "recording/crc32.h"
#include "recording/recording.h"

static const char magic[8] = {'R', 'D', 'R', 'E', 'C', 'O', 'R', 'D'};
// magic, version, build length; then seed, last spawn tick, height sign, bridge height, pass
// count; then the final state and the checksum.
constexpr size_t fixedHead = 8 + 2 + 1;
constexpr size_t startFields = 4 + 4 + 1 + 2 + 4;
constexpr size_t tail = 8 + 4;

namespace {

struct Writer {
    std::vector<uint8_t>& out;
    void put(uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
};

struct Reader {
    const uint8_t* p;
    uint64_t get(int bytes)
    {
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= static_cast<uint64_t>(p[i]) << (8 * i);
        p += bytes;
        return value;
    }
};

} // namespace

std::vector<uint8_t> encodeRecording(const Recording& recording)
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
    w.put(recording.passes.size(), 4);
    out.insert(out.end(), recording.passes.begin(), recording.passes.end());
    w.put(recording.finalState, 8);
    w.put(crc32(out.data(), out.size()), 4);
    return out;
}

std::string decodeRecording(const uint8_t* data, size_t size, Recording& recording)
{
    if (size < fixedHead || std::memcmp(data, magic, 8) != 0)
        return "not a River Duel recording";
    Reader r{data + 8};
    const uint64_t version = r.get(2);
    if (version != recordingVersion)
        return "recording format version " + std::to_string(version) + ", this game reads version " +
               std::to_string(recordingVersion);
    const size_t buildLength = r.get(1);
    if (buildLength == 0 || buildLength > maxBuildLength)
        return "damaged recording: build identity of " + std::to_string(buildLength) + " bytes";
    if (size < fixedHead + buildLength + startFields)
        return "truncated recording: the header is cut short";
    Recording read;
    read.build.assign(reinterpret_cast<const char*>(r.p), buildLength);
    r.p += buildLength;
    for (char c : read.build)
        if (c < 0x20 || c > 0x7e)
            return "damaged recording: build identity is not plain text";
    read.start.seed = static_cast<uint32_t>(r.get(4));
    read.start.lastSpawnTick = static_cast<uint32_t>(r.get(4));
    const int sign = static_cast<int8_t>(r.get(1));
    if (sign < -1 || sign > 1)
        return "damaged recording: height order " + std::to_string(sign);
    read.start.prevRiderHeightSign = sign;
    read.geometry.bridgeHeight = static_cast<uint16_t>(r.get(2));
    if (read.geometry.bridgeHeight < 1 || read.geometry.bridgeHeight > maxBridgeHeight)
        return "damaged recording: bridge height " + std::to_string(read.geometry.bridgeHeight);
    const uint64_t count = r.get(4);
    if (count < 1 || count > maxRecordedPasses)
        return "damaged recording: " + std::to_string(count) + " passes";
    const size_t expected = fixedHead + buildLength + startFields + count + tail;
    if (size < expected)
        return "truncated recording: " + std::to_string(size) + " of " + std::to_string(expected) +
               " bytes";
    if (size > expected)
        return "damaged recording: " + std::to_string(size - expected) + " bytes after its end";
    read.passes.assign(r.p, r.p + count);
    r.p += count;
    read.finalState = r.get(8);
    const uint32_t stored = static_cast<uint32_t>(r.get(4));
    if (crc32(data, size - 4) != stored)
        return "damaged recording: checksum does not match";
    for (size_t i = 0; i < count; ++i) {
        PassInput pass;
        if (!unpackPass(read.passes[i], pass))
            return "damaged recording: pass " + std::to_string(i) + " holds an unknown input";
        if (pass.leave && i + 1 != count)
            return "damaged recording: the game is left at pass " + std::to_string(i) +
                   " but goes on";
    }
    recording = std::move(read);
    return "";
}
