#include "simulation/random_state.h"

#include <cstdlib>

#include "simulation/fnv.h"

// 128 bytes is the C library's default generator (the same kind srand seeds), so a game
// seeded here draws the sequence srand(seed) would give.
alignas(8) static char state[128];
static bool seeded = false;

void seedRandom(uint32_t seed)
{
    initstate(seed, state, sizeof state);
    seeded = true;
}

uint64_t hashRandom()
{
    if (!seeded)
        return 0;
    // Switching to the buffer in use writes the generator's read position into its first
    // word, without moving it.
    setstate(state);
    return fnv1a(state, sizeof state);
}
