// The game's own generator draws what the C library's random() and rand() draw for the same
// seed: small, large and 2^31-and-above seeds, long runs, and its bytes laid out as the C
// library's state buffer (recordings and the state hash read them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "riders/random.h"

TEST(GameRandom, DrawsTheCLibrarySequence)
{
    const struct {
        uint32_t seed;
        int draws;
    } seeds[] = {{0, 1000},           {1, 100000},         {2, 1000},          {7, 1000},
                 {127773, 1000},      {20240611, 1000000}, {2147483646, 1000}, {2147483647, 1000},
                 {2147483648u, 1000}, {2147483649u, 1000}, {3000000000u, 100000}, {4294967295u, 1000}};
    alignas(8) static char buffer[128];
    for (const auto& s : seeds) {
        SCOPED_TRACE(s.seed);
        char* previous = initstate(s.seed, buffer, sizeof buffer);
        RandomState game = seededRandom(s.seed);
        for (int i = 0; i < s.draws; ++i)
            ASSERT_EQ(nextRandom(game), random()) << "draw " << i;
        // The C library writes its read position into the buffer it switches away from.
        setstate(previous);
        EXPECT_EQ(std::memcmp(game.words, buffer, sizeof buffer), 0);
    }
    srand(5);
    RandomState five = seededRandom(5), first;
    EXPECT_EQ(nextRandom(five), rand());
    RandomState one = seededRandom(1);
    EXPECT_EQ(std::memcmp(first.words, one.words, sizeof one.words), 0) << "a new one is seeded with 1";
}
