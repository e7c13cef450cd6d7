// Draws every picture and synthesises every sound of the game into <build-dir>/bitmaps,
// <build-dir>/sound and <build-dir>/icon. Output is the same, byte for byte, on every run.
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "art_obstacles.h"
#include "art_riders.h"
#include "art_scenery.h"
#include "art_title.h"
#include "sound_effects.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: riverduel_assets <output-dir>\n");
        return 2;
    }
    const std::string out = argv[1];
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    const std::string bitmaps = out + "/bitmaps", sound = out + "/sound", icon = out + "/icon";
    mkdir(out.c_str(), 0755);
    mkdir(bitmaps.c_str(), 0755);
    mkdir(sound.c_str(), 0755);
    mkdir(icon.c_str(), 0755);

    bool ok = art::writeRiders(bitmaps);
    ok = art::writeScenery(bitmaps) && ok;
    ok = art::writeObstacles(bitmaps) && ok;
    ok = art::writeTitle(bitmaps) && ok;
    ok = sound::writeSounds(sound) && ok;
    ok = art::writeIcon(icon) && ok;
    if (!ok) {
        std::fprintf(stderr, "riverduel_assets: could not write everything into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
END_OF_MAIN()
