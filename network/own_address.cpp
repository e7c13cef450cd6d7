#include "network/own_address.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

std::string localAddresses(uint16_t port)
{
    std::string found;
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0)
        return found;
    int shown = 0;
    for (const ifaddrs* a = all; a && shown < 2; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || (a->ifa_flags & IFF_LOOPBACK) ||
            !(a->ifa_flags & IFF_UP))
            continue;
        char text[INET_ADDRSTRLEN];
        const in_addr at = reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr;
        if (inet_ntop(AF_INET, &at, text, sizeof text))
            found += std::string(shown++ ? " or " : "") + text + ":" + std::to_string(port);
    }
    freeifaddrs(all);
    return found;
}
