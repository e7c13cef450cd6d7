#include "app/system.h"

#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/clock.h"

BITMAP* backBuffer = nullptr;

std::atomic<bool> closeRequested{false};

static bool libraryStarted = false;

static void onCloseButton()
{
    closeRequested = true;
}
END_OF_FUNCTION(onCloseButton)

bool initSystem()
{
    // Without a display the library cannot start, and nothing else of it may be touched.
    if (allegro_init() != 0)
        return true;
    libraryStarted = true;
    install_keyboard();
    install_mouse();
    install_timer();
    install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0)
        return true;
    set_window_title("River Duel");
    LOCK_FUNCTION(onCloseButton);
    set_close_button_callback(onCloseButton);
    backBuffer = create_bitmap(SCREEN_W, SCREEN_H);
    LOCK_VARIABLE(ticks);
    LOCK_FUNCTION(tickHandler);
    install_int(tickHandler, 50);
    srand(time(nullptr));
    return false;
}

void reportGraphicsFailure()
{
    const char* reason = allegro_error[0] ? allegro_error : "No display could be opened";
    if (libraryStarted) {
        allegro_message("Zlyhala grafika.\n%s.\n", reason);
    } else {
        std::printf("Zlyhala grafika.\n%s.\n", reason);
        std::fflush(stdout);
    }
}
