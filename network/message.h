#pragma once
// Every message the two machines exchange, and its encoding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/simulation.h"

// Every packet two machines exchange, and its one encoding. Hello and Refuse begin alike in
// every version (type, "RD", protocol, build), so that two versions can always tell each other
// which they are: what follows is read only when the protocol is this one.
enum class MessageType : uint8_t {
    Hello = 1, Refuse, Start, Click, Menu, Inputs, Hash, Alive,
    // A spectator's hello (answered with Hello or Refuse), the confirmed passes it is sent,
    // and how many of them it holds.
    Watch, Passes, Seen
};
enum class RefuseReason : uint8_t { Version = 1, Busy, Damaged };

constexpr size_t MAX_BUILD_TEXT = 40;
constexpr size_t MAX_INPUTS_PER_MESSAGE = 64;
constexpr size_t MAX_MESSAGE_SIZE = 96;
constexpr uint32_t GAME_RUNNING = UINT32_MAX;
// The version of these messages; a machine speaks only with one of the same.
constexpr uint16_t MESSAGE_PROTOCOL = 2;

struct Message {
    MessageType type = MessageType::Hello;
    uint16_t protocol = 0;     // Hello, Refuse: the sender's protocol version
    std::string build;         // Hello, Refuse: "riverduel 1.0.0", printable, at most 40 bytes
    uint64_t identity = 0;     // Hello: identityDigest of the sender's whole build identity
    // Hello: the sender's own random token, chosen afresh for each connection. Every later
    // message carries the receiver's token, and a message without the right one is ignored.
    uint32_t token = 0;
    RefuseReason reason = RefuseReason::Version; // Refuse
    uint16_t game = 0;         // Start, Click, Menu, Inputs, Hash: which game of the run
    GameStart start;           // Start: its height order is -1, 0 or 1
    uint8_t inputDelay = 0;    // Start: passes between a key and its step, 0 to 8
    uint32_t ack = 0;          // Inputs: how many of the receiver's passes the sender holds
    uint32_t first = 0;        // Inputs: the pass of inputs[0]
    std::vector<uint8_t> inputs; // Inputs: one packed pass each, 1 to 64
    uint32_t pass = 0;         // Hash: the pass the state was hashed after
    StateHash hash;            // Hash
    // Passes: `first` and `inputs` (0 to 64 passes) of game `game`, and `total`, the number
    // of passes the game had when it ended, or GAME_RUNNING. Seen: `game` and `total`, the
    // passes of it the spectator holds. Watch: `protocol`, `build` and
    // `identity`, as in Hello.
    uint32_t total = 0;

    // The same message, whichever connection carried it (a Hello's own token counts).
    bool operator==(const Message& other) const;
};

std::vector<uint8_t> encode(const Message& message);
// The build text as a Hello carries it: plain text, cut to MAX_BUILD_TEXT bytes.
std::string sentBuild(const std::string& build);
// A digest of a whole build identity, however long (FNV-1a, 64 bits).
uint64_t identityDigest(const std::string& build);
// False for anything that is not exactly one well-formed message.
bool decode(const uint8_t* data, size_t size, Message& message);
