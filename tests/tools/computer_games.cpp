// Plays one seeded game against each of the computer's levels without a window, the
// computer riding Berto and random holds riding Rudko, each recorded through the same feed
// the game records with. Prints "LEVEL LINE" for each, LINE the game's result line.
// Usage: computer_games DIR SEED
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "classic/session.h"
#include "classic/game.h"
#include "app/game.h"
#include "computer/computer.h"
#include "recording/recording.h"
#include "simulation/feed.h"
#include "classic/headless.h"
#include "holds.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    if (!startHeadless(geometry))
        return 1;
    const unsigned seed = static_cast<unsigned>(std::atoi(argv[2]));
    for (int level = LOWEST_LEVEL; level <= HIGHEST_LEVEL; ++level) {
        Holds rudko(seed + level);
        const bool berto[2] = {false, true};
        const int levels[2] = {level, level};
        std::unique_ptr<PassFeed> computer(computerFeed(rudko, berto, levels));
        const std::string path = std::string(argv[1]) + "/level-" + std::to_string(level) + ".rdr";
        std::unique_ptr<PassFeed> feed(recordingFeed(*computer, path));
        const GameResult result = playHeadless(defaultGameSetup(), *feed, 12000);
        std::printf("%d %s\n", level, resultLine(result).c_str());
    }
    return 0;
}
END_OF_MAIN()
