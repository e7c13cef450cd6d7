#pragma once
// Random holds of 50 to 1500 ms on every button of both riders, from a generator of its own:
// the game's rand() must see only the game's draws.
#include <cstdint>

#include "simulation/feed.h"

struct Holds : PassFeed {
    uint64_t state;
    uint32_t until[2][3] = {};
    bool down[2][3] = {};

    explicit Holds(uint64_t seed) : state(seed * 2654435761u + 1) {}
    void begin(GameStart& start) override { start.seed = static_cast<uint32_t>(state >> 7); }
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state);
    }
    bool gather(uint32_t pass, bool, PassInput& input) override
    {
        for (int r = 0; r < 2; ++r)
            for (int b = 0; b < 3; ++b) {
                if (pass >= until[r][b]) {
                    down[r][b] = next() % 3 == 0;
                    until[r][b] = pass + 1 + next() % 30; // 50 to 1500 ms
                }
            }
        for (int r = 0; r < 2; ++r)
            input.riders[r] = {down[r][0], down[r][1], down[r][2]};
        return true;
    }
};

