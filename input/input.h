#pragma once
// What drives the riders: a pass's inputs, packed as recordings and the network carry them.
#include <cstdint>

// A rider's three inputs for one pass. The keyboard, a gamepad, a recording, the other
// machine and the computer all drive a rider through this, and so through the same rules.
struct RiderInput {
    bool left = false;
    bool right = false;
    bool action = false;
};

// Both riders' inputs for one pass, and whether the game is left at this pass (ESC).
struct PassInput {
    RiderInput riders[2];
    bool leave = false;
};

// Either source pressing a button counts.
RiderInput combine(RiderInput a, RiderInput b);

// One byte per pass, as recordings and the network carry it: bits 0-2 rider 0 (left, right,
// action), bits 3-5 rider 1, bit 6 leave; bit 7 is never set.
uint8_t packPass(const PassInput& pass);
// False (and `pass` untouched) for a byte with bit 7 set.
bool unpackPass(uint8_t byte, PassInput& pass);
