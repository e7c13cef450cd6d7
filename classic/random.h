#pragma once
// The C library's own generator (rand(), srand()) beside the game's: the named operations and
// the classic game draw from it, so a world's generator is taken from it and given back.
#include <cstdint>

#include "riders/random.h"

// srand(seed) on a state buffer of ours, so its position can be hashed.
void seedRandom(uint32_t seed);
// Hash of the C library generator's position; only meaningful after seedRandom.
uint64_t hashRandom();

// The C library's generator as it stands, and the C library's generator made to stand so.
RandomState currentRandom();
void adoptRandom(const RandomState& random);

// The C library's generator as a value while one lives: draws from `state` move rand() on.
struct SharedRandom {
    RandomState state = currentRandom();
    SharedRandom() = default;
    ~SharedRandom() { adoptRandom(state); }
    SharedRandom(const SharedRandom&) = delete;
    SharedRandom& operator=(const SharedRandom&) = delete;
};
