#pragma once
#include <allegro.h>

// True when the tests run with the real 800 x 600 window (under Xvfb). Tests that read
// SCREEN_W / SCREEN_H or draw to `screen` skip themselves otherwise.
bool haveScreen();

// Clears Allegro's key[] and mouse state that tests set by hand.
void releaseAllInput();
