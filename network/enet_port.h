#pragma once
// ENet as each build has it: Debian's libenet on Linux; on Windows the one-header ENet
// (enet.c, built in enet_port_windows.cpp), which speaks the same protocol over IPv6 sockets
// (IPv4 addresses mapped into them) and hands its datagram filter the event untyped.
#include <enet/enet.h>

#include <cstdint>

#ifdef _WIN32
using ENetFilterEvent = void;
#else
using ENetFilterEvent = ENetEvent;
#endif

// A datagram filter written for ENet's events, as the host's `intercept` takes it.
template <int (*filter)(ENetHost*, ENetEvent*)>
int interceptWith(ENetHost* host, ENetFilterEvent* event)
{
    return filter(host, static_cast<ENetEvent*>(event));
}

// The host part of an address as one number: an IPv4 address as ENet keeps it (network
// order), any other folded into 32 bits. Two addresses of one host give the same number.
uint32_t hostNumber(const ENetAddress& address);
