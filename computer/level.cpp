#include "computer/computer.h"
#include "computer/model.h"

namespace computer {

// Level 1 reacts in 400 ms, thinks 300 ms ahead, misjudges a rock's place by up to 50 pixels
// and its arrival by up to four passes, hardly attacks, and lets its mind wander most of the
// time: it dodges what it sees coming, late and clumsily. From level 2 up the levels go for
// the other rider alike (a rider hiding under water or at its bank is landed on by each of
// them) and differ by reaction, foresight, misjudging and attention. Level 5 reacts in 150 ms,
// thinks 1.15 s ahead and misjudges little. The steps between are about even:
// each level beats the one below it in about four games of five.
static const Skill skills[FLAWLESS] = {
    //  delay horizon misjudge mistime appetite reach lapses
    {8, 6, 50.0f, 4.0f, 0.1f, 80.0f, 48},
    {6, 11, 38.0f, 3.0f, 0.5f, 180.0f, 35},
    {5, 15, 26.0f, 2.0f, 0.5f, 180.0f, 25},
    {4, 18, 20.0f, 1.6f, 0.5f, 180.0f, 17},
    {3, 23, 14.0f, 1.1f, 0.5f, 180.0f, 6},
    {3, HORIZON, 0.0f, 0.0f, 0.6f, 200.0f, 0}, // FLAWLESS
};

const Skill& skillOf(int level)
{
    if (level < LOWEST_LEVEL)
        level = LOWEST_LEVEL;
    if (level > FLAWLESS)
        level = FLAWLESS;
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
