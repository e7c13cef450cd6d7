#include "classic/random.h"

#include "simulation/fnv.h"

// Windows' C library draws another sequence, and its generator cannot be read or set: the
// classic game's generator is this one, the one Linux's C library would be.
static RandomState state;
static bool seeded = false;

void seedRandom(uint32_t seed)
{
    state = seededRandom(seed);
    seeded = true;
}

uint64_t hashRandom()
{
    return seeded ? fnv1a(state.words, sizeof state.words) : 0;
}

RandomState currentRandom()
{
    return state;
}

void adoptRandom(const RandomState& random)
{
    state = random;
}
