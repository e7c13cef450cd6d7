#pragma once
// The art and sounds the game loads at start-up, and the two plain bitmaps.
#include "obstacles/obstacle.h"

struct BITMAP;

extern BITMAP* titleBitmap;
extern BITMAP* bridgeShadowBitmap;

// Loads the sounds, creates both riders, loads every image into its sprite and fills the
// obstacle kinds. Stops at the first failure and undoes nothing. True on failure.
bool loadAssets();

