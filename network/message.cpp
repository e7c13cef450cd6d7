#include "network/message.h"

namespace {

// Big-endian writer and a reader that refuses to run past the end.
struct Writer {
    std::vector<uint8_t> bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) { u8(uint8_t(v >> 8)), u8(uint8_t(v)); }
    void u32(uint32_t v) { u16(uint16_t(v >> 16)), u16(uint16_t(v)); }
    void u64(uint64_t v) { u32(uint32_t(v >> 32)), u32(uint32_t(v)); }
    void text(const std::string& s)
    {
        const std::string sent = sentBuild(s);
        u8(uint8_t(sent.size()));
        bytes.insert(bytes.end(), sent.begin(), sent.end());
    }
    // Packed passes, at most a message's worth, after their count.
    void passes(const std::vector<uint8_t>& inputs)
    {
        const size_t n = inputs.size() < MAX_INPUTS_PER_MESSAGE ? inputs.size() : MAX_INPUTS_PER_MESSAGE;
        u8(uint8_t(n));
        bytes.insert(bytes.end(), inputs.begin(), inputs.begin() + long(n));
    }
};

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool ok = true;
    bool has(size_t n)
    {
        if (size - at < n)
            ok = false;
        return ok;
    }
    uint8_t u8() { return has(1) ? data[at++] : 0; }
    uint16_t u16() { uint16_t hi = u8(); return uint16_t(hi << 8 | u8()); }
    uint32_t u32() { uint32_t hi = u16(); return hi << 16 | u16(); }
    uint64_t u64() { uint64_t hi = u32(); return hi << 32 | u32(); }
    // `n` packed passes (the caller checked that they are there): false when one is not a pass.
    bool passes(size_t n, std::vector<uint8_t>& inputs)
    {
        inputs.assign(data + at, data + at + n);
        at += n;
        for (uint8_t byte : inputs)
            if (byte & 0x80)
                return false;
        return true;
    }
    bool text(std::string& s)
    {
        const size_t n = u8();
        if (n > MAX_BUILD_TEXT || !has(n))
            return ok = false;
        s.assign(reinterpret_cast<const char*>(data + at), n);
        at += n;
        for (char c : s)
            if (c < 0x20 || c > 0x7e)
                return ok = false;
        return true;
    }
    bool done() const { return ok && at == size; }
    // What another protocol appends to its Hello or Refuse is not ours to read.
    void skipRest() { at = size; }
};

const uint8_t MAGIC[2] = {'R', 'D'};

// Hello and Refuse of another protocol are read only as far as their common beginning.
bool ours(const Message& m)
{
    return m.protocol == MESSAGE_PROTOCOL;
}

} // namespace

std::string sentBuild(const std::string& build)
{
    std::string sent = build.substr(0, MAX_BUILD_TEXT);
    for (char& c : sent)
        if (c < 0x20 || c > 0x7e)
            c = '?';
    return sent;
}

uint64_t identityDigest(const std::string& build)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : build)
        h = (h ^ c) * 0x100000001b3ull;
    return h;
}

bool Message::operator==(const Message& o) const
{
    if (type != o.type)
        return false;
    switch (type) {
    case MessageType::Hello:
        return protocol == o.protocol && build == o.build &&
               (!ours(*this) || (identity == o.identity && token == o.token));
    case MessageType::Refuse:
        return reason == o.reason && protocol == o.protocol && build == o.build;
    case MessageType::Start:
        return game == o.game && start.seed == o.start.seed &&
               start.lastSpawnTick == o.start.lastSpawnTick &&
               start.prevRiderHeightSign == o.start.prevRiderHeightSign &&
               inputDelay == o.inputDelay;
    case MessageType::Click:
    case MessageType::Menu:
        return game == o.game;
    case MessageType::Inputs:
        return game == o.game && ack == o.ack && first == o.first && inputs == o.inputs;
    case MessageType::Alive:
        return true;
    case MessageType::Watch:
        return protocol == o.protocol && build == o.build && identity == o.identity;
    case MessageType::Passes:
        return game == o.game && first == o.first && total == o.total && inputs == o.inputs;
    case MessageType::Seen:
        return game == o.game && total == o.total;
    case MessageType::Hash:
        return game == o.game && pass == o.pass && hash.clock == o.hash.clock &&
               hash.riders == o.hash.riders && hash.lanes == o.hash.lanes &&
               hash.random == o.hash.random;
    }
    return false;
}

std::vector<uint8_t> encode(const Message& m)
{
    Writer w;
    w.u8(uint8_t(m.type));
    if (m.type != MessageType::Hello && m.type != MessageType::Refuse)
        w.u32(m.token);
    switch (m.type) {
    case MessageType::Hello:
        w.u8(MAGIC[0]), w.u8(MAGIC[1]);
        w.u16(m.protocol);
        w.text(m.build);
        if (ours(m)) {
            w.u64(m.identity);
            w.u32(m.token);
        }
        break;
    case MessageType::Refuse:
        w.u8(MAGIC[0]), w.u8(MAGIC[1]);
        w.u8(uint8_t(m.reason));
        w.u16(m.protocol);
        w.text(m.build);
        break;
    case MessageType::Start:
        w.u16(m.game);
        w.u32(m.start.seed);
        w.u32(m.start.lastSpawnTick);
        w.u32(uint32_t(m.start.prevRiderHeightSign));
        w.u8(m.inputDelay);
        break;
    case MessageType::Click:
    case MessageType::Menu:
        w.u16(m.game);
        break;
    case MessageType::Inputs: {
        w.u16(m.game);
        w.u32(m.ack);
        w.u32(m.first);
        w.passes(m.inputs);
        break;
    }
    case MessageType::Hash:
        w.u16(m.game);
        w.u32(m.pass);
        w.u64(m.hash.clock);
        w.u64(m.hash.riders);
        w.u64(m.hash.lanes);
        w.u64(m.hash.random);
        break;
    case MessageType::Alive:
        break;
    case MessageType::Watch:
        w.u8(MAGIC[0]), w.u8(MAGIC[1]);
        w.u16(m.protocol);
        w.text(m.build);
        w.u64(m.identity);
        break;
    case MessageType::Passes: {
        w.u16(m.game);
        w.u32(m.first);
        w.u32(m.total);
        w.passes(m.inputs);
        break;
    }
    case MessageType::Seen:
        w.u16(m.game);
        w.u32(m.total);
        break;
    }
    return w.bytes;
}

bool decode(const uint8_t* data, size_t size, Message& out)
{
    if (!data || size == 0 || size > MAX_MESSAGE_SIZE)
        return false;
    Reader r{data, size};
    Message m;
    m.type = MessageType(r.u8());
    if (m.type != MessageType::Hello && m.type != MessageType::Refuse)
        m.token = r.u32();
    switch (m.type) {
    case MessageType::Hello:
        if (r.u8() != MAGIC[0] || r.u8() != MAGIC[1])
            return false;
        m.protocol = r.u16();
        r.text(m.build);
        if (!ours(m)) {
            r.skipRest();
            break;
        }
        m.identity = r.u64();
        m.token = r.u32();
        if (m.token == 0)
            return false;
        break;
    case MessageType::Refuse: {
        if (r.u8() != MAGIC[0] || r.u8() != MAGIC[1])
            return false;
        const uint8_t reason = r.u8();
        if (reason < uint8_t(RefuseReason::Version) || reason > uint8_t(RefuseReason::Damaged))
            return false;
        m.reason = RefuseReason(reason);
        m.protocol = r.u16();
        r.text(m.build);
        if (r.ok && !ours(m))
            r.skipRest();
        break;
    }
    case MessageType::Start:
        m.game = r.u16();
        m.start.seed = r.u32();
        m.start.lastSpawnTick = r.u32();
        m.start.prevRiderHeightSign = int32_t(r.u32());
        m.inputDelay = r.u8();
        if (m.inputDelay > 8)
            return false;
        // Any other height order would make the game's own recording unreadable.
        if (m.start.prevRiderHeightSign < -1 || m.start.prevRiderHeightSign > 1)
            return false;
        break;
    case MessageType::Click:
    case MessageType::Menu:
        m.game = r.u16();
        break;
    case MessageType::Inputs: {
        m.game = r.u16();
        m.ack = r.u32();
        m.first = r.u32();
        const size_t n = r.u8();
        if (n == 0 || n > MAX_INPUTS_PER_MESSAGE || !r.has(n))
            return false;
        if (!r.passes(n, m.inputs))
            return false;
        // A pass number near the top would wrap when counted on.
        if (m.first > UINT32_MAX - MAX_INPUTS_PER_MESSAGE)
            return false;
        break;
    }
    case MessageType::Hash:
        m.game = r.u16();
        m.pass = r.u32();
        m.hash.clock = r.u64();
        m.hash.riders = r.u64();
        m.hash.lanes = r.u64();
        m.hash.random = r.u64();
        break;
    case MessageType::Alive:
        break;
    case MessageType::Watch:
        if (r.u8() != MAGIC[0] || r.u8() != MAGIC[1])
            return false;
        m.protocol = r.u16();
        r.text(m.build);
        m.identity = r.u64();
        break;
    case MessageType::Passes: {
        m.game = r.u16();
        m.first = r.u32();
        m.total = r.u32();
        const size_t n = r.u8();
        if (n > MAX_INPUTS_PER_MESSAGE || !r.has(n))
            return false;
        if (!r.passes(n, m.inputs))
            return false;
        // Passes past the game's end, or numbers that would wrap when counted on.
        if (m.first > UINT32_MAX - MAX_INPUTS_PER_MESSAGE - 1 ||
            (m.total != GAME_RUNNING && m.first + n > m.total) || (n == 0 && m.total == GAME_RUNNING))
            return false;
        break;
    }
    case MessageType::Seen:
        m.game = r.u16();
        m.total = r.u32();
        break;
    default:
        return false;
    }
    if (!r.done())
        return false;
    out = std::move(m);
    return true;
}
