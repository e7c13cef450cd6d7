// Any bytes, read as one datagram of the online game (the riders' messages and the
// spectators'): either refused, or a message whose
// fields all hold what they promise (a token in every message, a height order of -1..1, plain
// build text) and that encodes back to exactly those bytes (a Hello or Refuse of another
// protocol: to the beginning every version shares). A crash or a sanitizer report fails too.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "network/message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Message m;
    if (!decode(data, size, m))
        return 0;
    const bool greeting = m.type == MessageType::Hello || m.type == MessageType::Refuse;
    const bool foreign = greeting && m.protocol != MESSAGE_PROTOCOL;
    if (m.build.size() > MAX_BUILD_TEXT || m.inputs.size() > MAX_INPUTS_PER_MESSAGE)
        std::abort();
    for (char c : m.build)
        if (c < 0x20 || c > 0x7e)
            std::abort();
    for (uint8_t pass : m.inputs)
        if (pass & 0x80)
            std::abort();
    if (m.type == MessageType::Hello && !foreign && m.token == 0)
        std::abort();
    if (m.type == MessageType::Passes && m.total != GAME_RUNNING &&
        uint64_t(m.first) + m.inputs.size() > m.total)
        std::abort();
    if (m.type == MessageType::Start &&
        (m.start.prevRiderHeightSign < -1 || m.start.prevRiderHeightSign > 1 || m.inputDelay > 8))
        std::abort();
    const std::vector<uint8_t> again = encode(m);
    if (foreign ? again.size() > size || !std::equal(again.begin(), again.end(), data)
                : again.size() != size || !std::equal(again.begin(), again.end(), data))
        std::abort();
    Message back;
    if (!decode(again.data(), again.size(), back) || !(back == m) || (!greeting && back.token != m.token))
        std::abort();
    return 0;
}
