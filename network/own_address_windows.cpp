#include "network/own_address.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <ws2tcpip.h>

#include <vector>

std::string localAddresses(uint16_t port)
{
    std::string found;
    ULONG size = 16384;
    std::vector<unsigned char> buffer(size);
    auto* adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    if (GetAdaptersAddresses(AF_INET, flags, nullptr, adapters, &size) != NO_ERROR)
        return found;
    int shown = 0;
    for (const IP_ADAPTER_ADDRESSES* a = adapters; a && shown < 2; a = a->Next) {
        if (a->OperStatus != IfOperStatusUp || a->IfType == IF_TYPE_SOFTWARE_LOOPBACK)
            continue;
        for (const IP_ADAPTER_UNICAST_ADDRESS* u = a->FirstUnicastAddress; u && shown < 2; u = u->Next) {
            char text[INET_ADDRSTRLEN];
            const in_addr at = reinterpret_cast<const sockaddr_in*>(u->Address.lpSockaddr)->sin_addr;
            if (inet_ntop(AF_INET, &at, text, sizeof text))
                found += std::string(shown++ ? " or " : "") + text + ":" + std::to_string(port);
        }
    }
    return found;
}
