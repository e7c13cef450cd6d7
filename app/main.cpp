#include <allegro.h>

#include "app/game.h"
#include "app/menu.h"
#include "app/system.h"
#include "files/files.h"
#include "presentation/assets.h"

int main()
{
    if (initSystem()) {
        reportGraphicsFailure();
        return 1;
    }
    if (loadAssets()) {
        // The dialog names no file; a terminal learns which one, and where it was looked for.
        reportFileProblem(stderr);
        allegro_message("Nastala chyba.\nSkuste skontrolovat, ci su pristupne vsetky potrebne subory.");
        return 1;
    }
    const GameSetup setup = defaultGameSetup();
    return runMenu(setup);
}
END_OF_MAIN()
