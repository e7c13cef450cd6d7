#include "classic/random.h"

#include <cstdlib>
#include <cstring>

#include "simulation/fnv.h"

// 128 bytes is the C library's default generator (the same kind srand seeds), laid out as
// RandomState is.
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

// The C library writes the read position into the buffer it leaves, so a state is only ever
// copied into or out of a buffer that is not the one in use: this one is switched to meanwhile.
static char* workBuffer()
{
    alignas(8) static char work[128];
    static bool ready = false;
    if (!ready) {
        char* previous = initstate(1, work, sizeof work);
        setstate(previous);
        ready = true;
    }
    return work;
}

RandomState currentRandom()
{
    char* current = setstate(workBuffer());
    RandomState random;
    std::memcpy(random.words, current, sizeof random.words);
    setstate(current);
    return random;
}

void adoptRandom(const RandomState& random)
{
    char* current = setstate(workBuffer());
    std::memcpy(current, random.words, sizeof random.words);
    setstate(current);
}
