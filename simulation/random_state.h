#pragma once
// The C library's random generator as part of a game: seeded, saved, hashed and put back.
#include <cstdint>

// The game draws from the C library's rand(). A game that must be played again exactly runs
// the generator on a state buffer of ours, seeded by the game, so its position can be hashed.
void seedRandom(uint32_t seed);
// Hash of the generator's position; only meaningful after seedRandom.
uint64_t hashRandom();

// The whole generator as a value: its 128-byte table with the read position in the first word,
// as the C library leaves it in a buffer it switches away from.
struct RandomState {
    alignas(8) char bytes[128];
    RandomState(); // the generator seeded with 1
};

// The generator srand(seed) would give.
RandomState seededRandom(uint32_t seed);
// The C library's generator as it stands, and the C library's generator made to stand so.
RandomState currentRandom();
void adoptRandom(const RandomState& random);

// While one lives, rand() draws from `random`; when it goes, `random` holds where the draws
// left it and the C library's own generator is back where it was. Not nested.
class LiveRandom {
public:
    explicit LiveRandom(RandomState& random);
    ~LiveRandom();
    LiveRandom(const LiveRandom&) = delete;
    LiveRandom& operator=(const LiveRandom&) = delete;

private:
    RandomState& random;
    char* previous;
};
