// The unit tests run on a real Allegro: memory bitmaps always, the 800 x 600 window when
// there is a display. No keyboard, mouse or timer is installed, so tests drive key[],
// mouse_x / mouse_y / mouse_b and ticks by hand.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/system.h"
#include "harness.h"

static bool screenReady = false;

bool haveScreen()
{
    return screenReady;
}

void releaseAllInput()
{
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    mouse_x = mouse_y = mouse_b = 0;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const bool display = std::getenv("DISPLAY") && *std::getenv("DISPLAY");
    if (install_allegro(display ? SYSTEM_AUTODETECT : SYSTEM_NONE, &errno, atexit) != 0)
        install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    if (display && set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) == 0) {
        screenReady = true;
        backBuffer = create_bitmap(SCREEN_W, SCREEN_H);
    } else if (display) {
        // With a display the window tests must run: skipping them would hide a broken window.
        std::fprintf(stderr, "no 800 x 600 window on display %s: %s\n", std::getenv("DISPLAY"),
                     allegro_error);
        return 1;
    } else {
        backBuffer = create_bitmap(800, 600);
    }
    return RUN_ALL_TESTS();
}
END_OF_MAIN()
