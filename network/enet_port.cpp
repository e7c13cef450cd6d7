#include "network/enet_port.h"

uint32_t hostNumber(const ENetAddress& address)
{
    return address.host;
}
