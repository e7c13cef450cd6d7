#pragma once
#include <cstdint>

// The game draws from the C library's rand(). A game that must be played again exactly runs
// the generator on a state buffer of ours, seeded by the game, so its position can be hashed.
void seedRandom(uint32_t seed);
// Hash of the generator's position; only meaningful after seedRandom.
uint64_t hashRandom();
