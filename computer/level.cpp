#include "computer/computer.h"
#include "computer/model.h"

namespace computer {

// Level 1 reacts in 400 ms, thinks 500 ms ahead, misjudges a rock's place by up to 35 pixels
// and its arrival by up to three passes, and lets its mind wander over a third of the time; level 5
// reacts in 150 ms, thinks 1.6 s ahead and judges the river right.
static const Skill skills[HIGHEST_LEVEL] = {
    //  delay horizon misjudge mistime appetite reach lapses
    {8, 10, 35.0f, 3, 0.1f, 80.0f, 24},
    {6, 16, 22.0f, 2, 0.25f, 120.0f, 16},
    {5, 22, 12.0f, 1, 0.4f, 150.0f, 6},
    {4, 28, 5.0f, 1, 0.5f, 180.0f, 2},
    {3, HORIZON, 0.0f, 0, 0.6f, 200.0f, 0},
};

const Skill& skillOf(int level)
{
    if (level < LOWEST_LEVEL)
        level = LOWEST_LEVEL;
    if (level > HIGHEST_LEVEL)
        level = HIGHEST_LEVEL;
    return skills[level - 1];
}

// splitmix64: small, fast, and good enough for a rider's slips.
static uint64_t mix(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

uint64_t Dice::next()
{
    state += 0x9e3779b97f4a7c15ull;
    return mix(state);
}

float Dice::about(uint64_t seed, uint64_t key)
{
    const uint64_t bits = mix(seed ^ mix(key + 0x9e3779b97f4a7c15ull));
    return static_cast<float>(static_cast<double>(bits >> 11) / 4503599627370496.0 - 1.0);
}

}  // namespace computer
