#include <allegro.h>

#include "app/game.h"
#include "app/menu.h"
#include "app/run.h"
#include "app/system.h"
#include "presentation/assets.h"

int main(int argc, char** argv)
{
    // Everything beyond the plain two-player game is asked for on the command line.
    if (argc > 1)
        return runWithOptions(argc, argv);
    if (initSystem()) {
        reportGraphicsFailure();
        return 1;
    }
    if (loadAssets()) {
        allegro_message("Nastala chyba.\nSkuste skontrolovat, ci su pristupne vsetky potrebne subory.");
        return 1;
    }
    const GameSetup setup = defaultGameSetup();
    return runMenu(setup);
}
END_OF_MAIN()
