#pragma once
// The game's luck as a plain value: the additive feedback generator the C library on Linux
// calls random() (31 words, taps 3 apart), so a game draws the same numbers on every machine.
#include <cstdint>

// Laid out as the C library lays out a 128-byte state buffer it switches away from: word 0
// the read position (position * 5 + 3), words 1 to 31 the table. Hashes read these bytes.
struct RandomState {
    int32_t words[32];
    RandomState(); // seeded with 1
};

// The generator srandom(seed) (and srand(seed)) would give.
RandomState seededRandom(uint32_t seed);
// The next number, 0 to 2^31 - 1, as random() and rand() give it.
int32_t nextRandom(RandomState& random);
