// Start-up as the game does it, up to the first menu frame on the screen: prints the time
// it took and the peak memory of the process. Run from the build directory under Xvfb.
#include <allegro.h>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

#include "app/menu.h"
#include "app/system.h"
#include "classic/assets.h"
#include "presentation/assets.h"

static double now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main()
{
    const double start = now();
    if (initSystem() || loadAssets())
        return 1;
    drawMenu(MenuButton(100, 100, 300, 40));
    const double elapsed = now() - start;
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("startup_ms %.1f\npeak_mb %.1f\n", elapsed, usage.ru_maxrss / 1024.0);
    return 0;
}
END_OF_MAIN()
