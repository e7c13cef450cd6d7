#include "network/portmap.h"

// The Windows build asks no router (yet): the host shows its own address, and the player
// opens the port by hand for a friend outside.
struct PortMap::Shared {
};

PortMap::PortMap(uint16_t) {}

PortMap::~PortMap() {}

PortMap::State PortMap::state() const
{
    return State::NoRouter;
}

std::string PortMap::address() const
{
    return "";
}

std::string PortMap::method() const
{
    return "";
}
