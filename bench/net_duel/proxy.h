#pragma once
#include <cstdint>

// A UDP relay on loopback that delays, jitters and drops datagrams, as a slow network would.
// The joiner talks to `listenPort`; everything goes on to `hostPort` and back.
struct ProxyFaults {
    int delayMs = 0;     // one way
    int jitterMs = 0;    // each datagram's delay is delayMs +- jitterMs, uniformly
    double loss = 0.0;   // each way, each datagram
    uint32_t seed = 1;
};

struct ProxyCount {
    uint64_t datagrams[2] = {0, 0}; // [0] joiner to host, [1] host to joiner, forwarded
    uint64_t bytes[2] = {0, 0};     // UDP payload forwarded
    uint64_t dropped[2] = {0, 0};
};

// Relays until `stop` returns true (asked every millisecond or so).
ProxyCount runProxy(uint16_t listenPort, uint16_t hostPort, const ProxyFaults& faults,
                    bool (*stop)());
