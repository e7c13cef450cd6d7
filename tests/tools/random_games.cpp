// Plays seeded games of random holds (50 to 1500 ms, both riders) without a window, each
// recorded through the same feed the game uses. Prints each recording's result line.
// Usage: random_games DIR COUNT SEED
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "classic/session.h"
#include "classic/game.h"
#include "app/game.h"
#include "simulation/feed.h"
#include "recording/recording.h"
#include "classic/headless.h"
#include "holds.h"


int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    if (!startHeadless(geometry))
        return 1;
    const int count = std::atoi(argv[2]);
    const unsigned seed = static_cast<unsigned>(std::atoi(argv[3]));
    for (int g = 0; g < count; ++g) {
        Holds holds(seed + g);
        const std::string path = std::string(argv[1]) + "/random-" + std::to_string(g) + ".rdr";
        std::unique_ptr<PassFeed> feed(recordingFeed(holds, path));
        playHeadless(defaultGameSetup(), *feed, 12000);
    }
    return 0;
}
END_OF_MAIN()
