#pragma once
#include <cstdint>
#include <string>

// This machine's own addresses (at most two) on the port: what a friend on the same network,
// or anywhere when the machine has an address of its own, joins. "" with none but loopback.
std::string localAddresses(uint16_t port);
