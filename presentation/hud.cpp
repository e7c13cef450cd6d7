#include "presentation/hud.h"

// STAND-IN until the HUD lands.
void drawHud(BITMAP*) {}
