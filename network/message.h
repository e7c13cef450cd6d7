#pragma once
// Every message the two machines exchange, and its encoding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/simulation.h"

// Every packet two machines exchange, and its one encoding. Hello and Refuse keep their
// layout in every version, so that two versions can always tell each other which they are.
enum class MessageType : uint8_t { Hello = 1, Refuse, Start, Click, Menu, Inputs, Hash, Alive };
enum class RefuseReason : uint8_t { Version = 1, Busy, Damaged };

constexpr size_t MAX_BUILD_TEXT = 40;
constexpr size_t MAX_INPUTS_PER_MESSAGE = 64;
constexpr size_t MAX_MESSAGE_SIZE = 80;

struct Message {
    MessageType type = MessageType::Hello;
    uint16_t protocol = 0;     // Hello, Refuse: the sender's protocol version
    std::string build;         // Hello, Refuse: "riverduel 1.0.0", printable, at most 40 bytes
    RefuseReason reason = RefuseReason::Version; // Refuse
    uint16_t game = 0;         // Start, Click, Menu, Inputs, Hash: which game of the run
    GameStart start;           // Start
    uint8_t inputDelay = 0;    // Start: passes between a key and its step, 0 to 8
    uint32_t ack = 0;          // Inputs: how many of the receiver's passes the sender holds
    uint32_t first = 0;        // Inputs: the pass of inputs[0]
    std::vector<uint8_t> inputs; // Inputs: one packed pass each, 1 to 64
    uint32_t pass = 0;         // Hash: the pass the state was hashed after
    StateHash hash;            // Hash

    bool operator==(const Message& other) const;
};

std::vector<uint8_t> encode(const Message& message);
// False for anything that is not exactly one well-formed message.
bool decode(const uint8_t* data, size_t size, Message& message);
