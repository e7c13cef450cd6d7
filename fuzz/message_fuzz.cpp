// Any bytes, read as one datagram of the online game (the two riders' messages and the
// spectators'): either refused, or a message that encodes back to exactly those bytes. A
// crash or a sanitizer report fails the run.
#include <cstdint>
#include <cstdlib>

#include "network/message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Message message;
    if (!decode(data, size, message))
        return 0;
    if (message.build.size() > MAX_BUILD_TEXT || message.inputs.size() > MAX_INPUTS_PER_MESSAGE)
        std::abort();
    if (message.type == MessageType::Passes && message.total != GAME_RUNNING &&
        uint64_t(message.first) + message.inputs.size() > message.total)
        std::abort();
    const std::vector<uint8_t> again = encode(message);
    Message back;
    if (again.size() != size || !std::equal(again.begin(), again.end(), data) ||
        !decode(again.data(), again.size(), back) || !(back == message))
        std::abort();
    return 0;
}
