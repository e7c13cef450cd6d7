#include "riders/random.h"

static const int DEGREE = 31;
static const int SEPARATION = 3;
static const int KIND = 3; // the C library's number for this kind of table

static int32_t draw(int32_t* words)
{
    int32_t* table = words + 1;
    const int rear = words[0] / 5;
    const int front = rear + SEPARATION < DEGREE ? rear + SEPARATION : rear + SEPARATION - DEGREE;
    const uint32_t sum = static_cast<uint32_t>(table[front]) + static_cast<uint32_t>(table[rear]);
    table[front] = static_cast<int32_t>(sum);
    words[0] = (rear + 1 < DEGREE ? rear + 1 : 0) * 5 + KIND;
    return static_cast<int32_t>(sum >> 1);
}

int32_t nextRandom(RandomState& random)
{
    return draw(random.words);
}

// Fills the table and read position srandom(seed) leaves.
static void seedInto(int32_t* words, uint32_t seed)
{
    int32_t* table = words + 1;
    // The working value is 32 bits and signed, as the C library keeps it: seeds of 2^31 and
    // above start negative.
    int32_t word = static_cast<int32_t>(seed == 0 ? 1u : seed);
    table[0] = word;
    for (int i = 1; i < DEGREE; ++i) {
        // 16807 * word % (2^31 - 1) without overflow (Schrage).
        const long hi = word / 127773;
        const long lo = word % 127773;
        word = static_cast<int32_t>(16807 * lo - 2836 * hi);
        if (word < 0)
            word += 2147483647;
        table[i] = word;
    }
    words[0] = KIND; // reading from the start
    for (int i = 0; i < DEGREE * 10; ++i)
        draw(words);
}

RandomState seededRandom(uint32_t seed)
{
    RandomState random;
    seedInto(random.words, seed);
    return random;
}

RandomState::RandomState()
{
    struct First {
        int32_t words[32];
        First() { seedInto(words, 1); }
    };
    static const First first;
    for (int i = 0; i < 32; ++i)
        words[i] = first.words[i];
}
