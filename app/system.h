#pragma once

struct BITMAP;

// Every menu and game frame is composed here, then copied to the screen with one blit.
extern BITMAP* backBuffer;

// Brings up the library, the input devices, sound, the 800 x 600 window, the back buffer,
// the tick clock and the random seed. True on failure.
bool initSystem();

// Tells the player why the window could not be opened. Safe to call when even the
// library itself failed to start (then it prints instead of opening a dialog).
void reportGraphicsFailure();
