#include "presentation/frame.h"

#include <allegro.h>

#include "app/game.h"
#include "app/system.h"

// STAND-IN until the scene lands: a blue river whose stripes show its speed.
void renderFrame(ObstacleLanes&)
{
    static float scroll = 0.0f;
    scroll += riverSpeed;
    clear_to_color(backBuffer, makecol(20, 60, 160));
    for (int y = static_cast<int>(scroll) % 60 - 60; y < SCREEN_H; y += 60)
        rectfill(backBuffer, 100, y, SCREEN_W - 100, y + 4, makecol(120, 170, 230));
    blit(backBuffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
}
