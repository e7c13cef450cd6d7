#pragma once
#include <atomic>

#include "presentation/frame.h" // backBuffer

// Set from the library's thread when the player clicks the window's close button; the menu,
// a game and the end screen treat it as the player leaving.
extern std::atomic<bool> closeRequested;

// Brings up the library, the input devices, sound, the 800 x 600 window, the back buffer,
// the tick clock and the random seed. True on failure.
bool initSystem();

// Starts the library with `start`. A display that is there but busy can refuse a connection
// for a moment, so with a display named in the environment it tries `attempts` times,
// `napMs` apart; without one it tries once. True when the library started.
bool startLibrary(int (*start)(), int attempts = 10, int napMs = 100);

// Tells the player why the window could not be opened. Safe to call when even the
// library itself failed to start (then it prints instead of opening a dialog).
void reportGraphicsFailure();
