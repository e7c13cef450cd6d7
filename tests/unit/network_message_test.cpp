// Every packet's meaning is one encode/decode pair: whatever decodes must be exactly what
// encoding the decoded message gives back, and nothing else may decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "network/message.h"

namespace {

Message randomMessage(std::mt19937& rng)
{
    auto u = [&](uint64_t below) { return uint64_t(rng()) % below; };
    Message m;
    m.type = MessageType(1 + u(uint64_t(MessageType::Seen)));
    m.protocol = u(2) ? MESSAGE_PROTOCOL : uint16_t(rng());
    for (size_t n = u(MAX_BUILD_TEXT + 1); n > 0; --n)
        m.build += char(0x20 + u(0x5f));
    m.identity = uint64_t(rng()) << 32 | rng();
    m.token = uint32_t(1 + u(UINT32_MAX));
    m.reason = RefuseReason(1 + u(3));
    m.game = uint16_t(rng());
    m.start = {uint32_t(rng()), uint32_t(rng()), int32_t(u(3)) - 1};
    m.inputDelay = uint8_t(1 + u(8));
    m.ack = uint32_t(rng());
    m.first = uint32_t(u(UINT32_MAX - MAX_INPUTS_PER_MESSAGE - 1));
    for (size_t n = 1 + u(MAX_INPUTS_PER_MESSAGE); n > 0; --n)
        m.inputs.push_back(uint8_t(u(0x80)));
    m.pass = uint32_t(rng());
    m.total = u(2) ? GAME_RUNNING : m.first + uint32_t(m.inputs.size());
    m.hash = {uint64_t(rng()) << 32 | rng(), rng(), uint64_t(rng()) << 7, rng()};
    return m;
}

// Hello and Refuse of another protocol are read only as far as every version shares.
bool foreign(const Message& m)
{
    return (m.type == MessageType::Hello || m.type == MessageType::Refuse) && m.protocol != MESSAGE_PROTOCOL;
}

// The bytes are the message's encoding; of another protocol's Hello or Refuse, they begin with it.
bool faithful(const Message& m, const std::vector<uint8_t>& bytes)
{
    const std::vector<uint8_t> again = encode(m);
    if (foreign(m))
        return again.size() <= bytes.size() && std::equal(again.begin(), again.end(), bytes.begin());
    return again == bytes;
}

TEST(NetworkMessage, EveryKindSurvivesTheTripAndNoCutOrPaddedCopyDecodes)
{
    std::mt19937 rng(7305);
    for (int i = 0; i < 3000; ++i) {
        const Message sent = randomMessage(rng);
        const std::vector<uint8_t> bytes = encode(sent);
        ASSERT_LE(bytes.size(), MAX_MESSAGE_SIZE);
        Message got;
        ASSERT_TRUE(decode(bytes.data(), bytes.size(), got)) << "kind " << int(sent.type);
        ASSERT_TRUE(got == sent) << "kind " << int(sent.type);
        if (sent.type != MessageType::Refuse && !foreign(sent)) {
            ASSERT_EQ(got.token, sent.token) << "kind " << int(sent.type);
        }
        for (size_t cut = 0; cut < bytes.size(); ++cut)
            ASSERT_FALSE(decode(bytes.data(), cut, got)) << "kind " << int(sent.type) << " cut " << cut;
        std::vector<uint8_t> padded = bytes;
        padded.push_back(0);
        ASSERT_EQ(decode(padded.data(), padded.size(), got), foreign(sent)) << "kind " << int(sent.type);
    }
}

TEST(NetworkMessage, FieldsOutOfRangeAreRefused)
{
    Message m;
    m.type = MessageType::Inputs;
    m.inputs = {0x01, 0x08};
    std::vector<uint8_t> bytes = encode(m);
    bytes.back() = 0x80; // bit 7 is never a key
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), m));
    bytes.back() = 0x08;
    bytes[15] = 65; // more passes than a message may carry
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), m));
    bytes[15] = 0;
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), m));

    Message passes;
    passes.type = MessageType::Passes;
    passes.first = 10;
    passes.total = 11;
    passes.inputs = {0x01, 0x08};
    bytes = encode(passes);
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), m)); // a pass after the game's end
    passes.inputs.clear();
    passes.total = GAME_RUNNING;
    bytes = encode(passes);
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), m)); // says nothing at all

    Message start;
    start.type = MessageType::Start;
    start.inputDelay = 9;
    bytes = encode(start);
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), start));

    // A start whose height order is not -1, 0 or 1 would make the game's recording unreadable.
    start.inputDelay = 2;
    for (int32_t order : {-1, 0, 1, 2, -2, 255, INT32_MIN, INT32_MAX}) {
        start.start.prevRiderHeightSign = order;
        bytes = encode(start);
        Message got;
        EXPECT_EQ(decode(bytes.data(), bytes.size(), got), order >= -1 && order <= 1) << order;
    }

    Message hello;
    hello.type = MessageType::Hello;
    hello.protocol = MESSAGE_PROTOCOL;
    hello.build = "riverduel 1.0";
    hello.token = 5;
    bytes = encode(hello);
    bytes[15] = '\n'; // the space of the build
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), hello));
    hello.token = 0; // every connection has a token
    bytes = encode(hello);
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), hello));
    // What another protocol adds to its hello is skipped: its protocol and build are read.
    hello.protocol = 7;
    bytes = encode(hello);
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    Message other;
    ASSERT_TRUE(decode(bytes.data(), bytes.size(), other));
    EXPECT_EQ(other.protocol, 7);
    EXPECT_EQ(other.build, "riverduel 1.0");
    const uint8_t unknown[] = {0, 1, 2}, later[] = {uint8_t(uint8_t(MessageType::Seen) + 1), 0, 0};
    EXPECT_FALSE(decode(unknown, sizeof unknown, hello));
    EXPECT_FALSE(decode(later, sizeof later, hello));
    std::vector<uint8_t> huge(4096, 1);
    EXPECT_FALSE(decode(huge.data(), huge.size(), hello));
    EXPECT_FALSE(decode(nullptr, 0, hello));
}

// Identities longer than a hello carries: the text is cut and kept plain, the digest tells
// the whole apart.
TEST(NetworkMessage, LongIdentitiesAreToldApartByTheirDigest)
{
    const std::string a = "riverduel 1.0.0+git20261209.4a450a1-dirty built on a long night",
                      b = "riverduel 1.0.0+git20261209.4a450a1-dirty built on a longer night";
    ASSERT_GT(a.size(), MAX_BUILD_TEXT);
    EXPECT_EQ(sentBuild(a), sentBuild(b));
    EXPECT_EQ(sentBuild(a).size(), MAX_BUILD_TEXT);
    EXPECT_EQ(sentBuild("riverduel\t1"), "riverduel?1");
    EXPECT_NE(identityDigest(a), identityDigest(b));
    EXPECT_EQ(identityDigest(a), identityDigest(std::string(a)));
}

// A deterministic fuzz loop: random bytes, and valid messages with bytes flipped, cut and
// spliced. Under the sanitizers this also shows that no read leaves the buffer.
TEST(NetworkMessage, FuzzedBytesNeverDecodeToSomethingElse)
{
    std::mt19937 rng(20);
    size_t accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        std::vector<uint8_t> bytes;
        if (i % 2) {
            bytes.resize(rng() % 100);
            for (auto& b : bytes)
                b = uint8_t(rng());
            if (!bytes.empty())
                bytes[0] = uint8_t(rng() % 13);
        } else {
            bytes = encode(randomMessage(rng));
            for (int flips = 1 + rng() % 3; flips > 0; --flips)
                bytes[rng() % bytes.size()] ^= uint8_t(1u << (rng() % 8));
            if (rng() % 4 == 0)
                bytes.resize(rng() % (bytes.size() + 8), uint8_t(rng()));
        }
        Message m;
        if (decode(bytes.data(), bytes.size(), m)) {
            ++accepted;
            ASSERT_TRUE(faithful(m, bytes));
        }
    }
    // The flipped messages must have reached past the first checks.
    EXPECT_GT(accepted, 10000u);
}

} // namespace
