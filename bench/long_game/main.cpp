// Records the longest of 200 games of the computer riding both riders, without a window
// (cut at ten minutes, 12000 passes, a game would be saved as left). Prints the recording's
// result line. Usage: long_game FILE
#include <allegro.h>
#include <cstdio>
#include <memory>

#include "classic/session.h"
#include "classic/game.h"
#include "app/game.h"
#include "simulation/feed.h"
#include "computer/computer.h"
#include "recording/recording.h"
#include "classic/headless.h"

namespace {

struct Seeded : PassFeed {
    uint32_t seed;
    explicit Seeded(uint32_t seed) : seed(seed) {}
    void begin(GameStart& start) override { start.seed = seed; }
    bool gather(uint32_t, bool, PassInput&) override { return true; }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    if (!startHeadless(geometry))
        return 1;
    const bool both[2] = {true, true};
    auto play = [&](uint32_t seed, const char* path) {
        Seeded seeded(seed);
        std::unique_ptr<PassFeed> computers(computerFeed(seeded, both));
        if (!path)
            return playHeadless(defaultGameSetup(), *computers, 12000).steps;
        std::unique_ptr<PassFeed> recorder(recordingFeed(*computers, path));
        return playHeadless(defaultGameSetup(), *recorder, 12000).steps;
    };
    uint32_t longest = 1, most = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        const uint32_t steps = play(seed, nullptr);
        if (steps > most) {
            most = steps;
            longest = seed;
        }
    }
    play(longest, argv[1]);
    return 0;
}
END_OF_MAIN()
