// Every packet's meaning is one encode/decode pair: whatever decodes must be exactly what
// encoding the decoded message gives back, and nothing else may decode.
#include <gtest/gtest.h>

#include <random>

#include "network/message.h"

namespace {

Message randomMessage(std::mt19937& rng)
{
    auto u = [&](uint64_t below) { return uint64_t(rng()) % below; };
    Message m;
    m.type = MessageType(1 + u(uint64_t(MessageType::Seen)));
    m.protocol = uint16_t(rng());
    for (size_t n = u(MAX_BUILD_TEXT + 1); n > 0; --n)
        m.build += char(0x20 + u(0x5f));
    m.reason = RefuseReason(1 + u(3));
    m.game = uint16_t(rng());
    m.start = {uint32_t(rng()), uint32_t(rng()), int32_t(rng())};
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
        for (size_t cut = 0; cut < bytes.size(); ++cut)
            ASSERT_FALSE(decode(bytes.data(), cut, got)) << "kind " << int(sent.type) << " cut " << cut;
        std::vector<uint8_t> padded = bytes;
        padded.push_back(0);
        ASSERT_FALSE(decode(padded.data(), padded.size(), got));
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
    bytes[11] = 65; // more passes than a message may carry
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), m));
    bytes[11] = 0;
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

    Message hello;
    hello.type = MessageType::Hello;
    hello.build = "riverduel\n1.0";
    bytes = encode(hello);
    EXPECT_FALSE(decode(bytes.data(), bytes.size(), hello));
    const uint8_t unknown[] = {0, 1, 2}, later[] = {uint8_t(uint8_t(MessageType::Seen) + 1), 0, 0};
    EXPECT_FALSE(decode(unknown, sizeof unknown, hello));
    EXPECT_FALSE(decode(later, sizeof later, hello));
    std::vector<uint8_t> huge(4096, 1);
    EXPECT_FALSE(decode(huge.data(), huge.size(), hello));
    EXPECT_FALSE(decode(nullptr, 0, hello));
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
            ASSERT_EQ(encode(m), bytes);
        }
    }
    // The flipped messages must have reached past the first checks.
    EXPECT_GT(accepted, 10000u);
}

} // namespace
