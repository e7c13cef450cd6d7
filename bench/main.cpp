// Benchmarks run against the real window (under Xvfb) with the real generated art, from
// the build directory. The mixer is silenced: nothing here is about sound.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "app/system.h"
#include "audio/sound.h"
#include "classic/assets.h"
#include "presentation/assets.h"

static void silentPlay(SAMPLE*, int, int, int, int) {}
static void silentStop(SAMPLE*) {}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (chdir(RIVERDUEL_BUILD_DIR) != 0 || install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0)
        return 1;
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0) {
        std::fprintf(stderr, "needs a display: run under xvfb-run\n");
        return 1;
    }
    backBuffer = create_bitmap(SCREEN_W, SCREEN_H);
    mixer = Mixer{silentPlay, silentStop};
    if (loadAssets()) {
        std::fprintf(stderr, "the generated art and sounds are missing\n");
        return 1;
    }
    keepLoadedArt();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
END_OF_MAIN()
