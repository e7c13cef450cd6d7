#include <allegro.h>

#include "classic/game.h"
#include "app/game.h"
#include "app/menu.h"
#include "app/run.h"

int main(int argc, char** argv)
{
    // Everything beyond the plain two-player game is asked for on the command line.
    if (argc > 1)
        return runWithOptions(argc, argv);
    if (!startUp())
        return 1;
    const GameSetup setup = defaultGameSetup();
    return runMenu(setup);
}
END_OF_MAIN()
