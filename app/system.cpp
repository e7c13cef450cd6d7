#include "app/system.h"

#include <allegro.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <ctime>
#include <thread>

#include "app/clock.h"
#include "app/menu.h"
#include "app/window.h"
#include "app/words.h"
#include "audio/sound.h"
#include "presentation/display.h"


std::atomic<bool> closeRequested{false};

static bool libraryStarted = false;

static void onCloseButton()
{
    closeRequested = true;
}
END_OF_FUNCTION(onCloseButton)

// A desktop logging out (SIGTERM) or Ctrl+C in the terminal (SIGINT) ends the game as the
// close button does: the main thread notices between passes and leaves in good order, instead
// of the library tearing the window down under it from inside the signal.
static void onStopSignal(int)
{
    closeRequested = true;
}

static void catchStopSignals()
{
#ifdef _WIN32
    // Ctrl+C or Ctrl+Break in the console.
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
#else
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
#endif
}

bool startLibrary(int (*start)(), int attempts, int napMs)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        attempts = 1;
    for (int attempt = 1;; ++attempt) {
        if (start() == 0)
            return true;
        if (attempt >= attempts)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(napMs));
    }
}

static int startAllegro()
{
    return allegro_init();
}

bool initSystem()
{
    nameWindow();
    // Without a display the library cannot start, and nothing else of it may be touched.
    if (!startLibrary(startAllegro))
        return true;
    libraryStarted = true;
    install_keyboard();
    install_mouse();
    catchClicks();
    install_timer();
    startSound();
    set_color_depth(32);
    if (openWindow())
        return true;
    set_window_title("River Duel");
    LOCK_FUNCTION(onCloseButton);
    set_close_button_callback(onCloseButton);
    catchStopSignals();
    // Smooth pictures, three times as many, are composed in the window's own memory.
    backBuffer = windowRequest.smooth ? pictureInScreen() : nullptr;
    if (!backBuffer)
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
    const char* classic = "Zlyhala grafika.\n%s.\n";
    const char* message = classicOr(classic, "The game's window cannot be opened.\n%s.\n");
    if (libraryStarted) {
        allegro_message(message, reason);
    } else {
        std::printf(message, reason);
        std::fflush(stdout);
        // With --comfort the player may have no terminal: standard error reaches the desktop's log.
        if (message != classic)
            std::fprintf(stderr, message, reason);
    }
}
