// The header brings its own inet_ntop and inet_pton for old MinGW, which clash with the ones
// mingw-w64 declares: its own are renamed here, where it is compiled.
#include <winsock2.h>
#include <ws2tcpip.h>
#define inet_ntop enet_inet_ntop
#define inet_pton enet_inet_pton
#define ENET_IMPLEMENTATION
#include "network/enet_port.h"

#include <cstring>

uint32_t hostNumber(const ENetAddress& address)
{
    uint32_t words[4];
    std::memcpy(words, &address.host, sizeof words);
    // ::ffff:a.b.c.d, an IPv4 address: the last word is the address, in network order.
    static const uint8_t mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    if (std::memcmp(&address.host, mapped, sizeof mapped) == 0)
        return words[3];
    return words[0] ^ words[1] ^ words[2] ^ words[3];
}
