#include "presentation/hud.h"

#include <allegro.h>

#include <cstdio>

#include "presentation/draw.h"
#include "presentation/hud_text.h"
#include "simulation/world.h"

static const int WHITE = 0xffffff;
static const int BLACK = 0;
static const int RED = 0xff0000;
static const int BLUE = 0xff;

// A bar's white frame and black interior, 100 x 10 from (x, y) both corners included.
static void drawBarFrame(BITMAP* dest, int x, int y)
{
    rectfill(dest, x, y, x + 100, y + 10, WHITE);
    rectfill(dest, x + 2, y + 2, x + 98, y + 8, BLACK);
}

// The values are drawn as they are: a health below 0 in the frame of the hit that caused
// it overflows the bar until the rider's next step clamps it.
void drawBars(BITMAP* dest, const char* firstName, int32_t firstHealth, float firstMass,
                     const char* secondName, int32_t secondHealth, float secondMass)
{
    const int white = makecol(255, 255, 255);

    textprintf_ex(dest, font, 10, 10, white, -1, "%s", firstName);
    drawBarFrame(dest, 10, 22);
    rectfill(dest, 12, 24, static_cast<int>(firstHealth * 96.0 / 200.0 + 12.0), 30, RED);
    drawBarFrame(dest, 10, 37);
    rectfill(dest, 12, 39,
             static_cast<int>((static_cast<double>(firstMass) - 100.0) * 96.0 / 50.0 + 12.0), 45,
             BLUE);

    const int x = SCREEN_W - 110;
    textprintf_right_ex(dest, font, x + 100, 10, white, -1, "%s", secondName);
    drawBarFrame(dest, x, 22);
    rectfill(dest, static_cast<int>(x + 2 + (1.0 - secondHealth / 200.0) * 96.0), 24, x + 98, 30,
             RED);
    drawBarFrame(dest, x, 37);
    rectfill(dest,
             static_cast<int>(x + 2 + (1.0 - (static_cast<double>(secondMass) - 100.0) / 50.0) * 96.0),
             39, x + 98, 45, BLUE);
}

// Labels beside the bars, the score between the riders, and the game's opening note, on a
// band that nothing on the river shows through.
static void drawWords(BITMAP* dest, const World& w)
{
    rectfill(dest, 0, 0, SCREEN_W - 1, 52, makecol(0, 0, 32));
    const int grey = makecol(200, 200, 200);
    textout_ex(dest, font, hudWords.health, 116, 24, grey, -1);
    textout_ex(dest, font, hudWords.weight, 116, 39, grey, -1);
    textout_right_ex(dest, font, hudWords.health, SCREEN_W - 116, 24, grey, -1);
    textout_right_ex(dest, font, hudWords.weight, SCREEN_W - 116, 39, grey, -1);
    if (hudWords.matchLength > 0) {
        char score[32];
        std::snprintf(score, sizeof score, "%d : %d", hudWords.score[0], hudWords.score[1]);
        drawBigText(dest, score, SCREEN_W / 2, 8, 3, makecol(255, 255, 255));
        char firstTo[64];
        std::snprintf(firstTo, sizeof firstTo, hudWords.firstTo, hudWords.matchLength);
        textout_centre_ex(dest, font, firstTo, SCREEN_W / 2, 38, grey, -1);
    }
    if (hudWords.note && w.ticks < 60)
        drawBanner(dest, hudWords.note, nullptr, 120);
}

void drawHud(BITMAP* dest, const World& w)
{
    if (hudWords.shown)
        drawWords(dest, w);
    drawBars(dest, w.names[0], w.riders[0].health, w.riders[0].mass, w.names[1],
             w.riders[1].health, w.riders[1].mass);
}
