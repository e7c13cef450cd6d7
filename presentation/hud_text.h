#pragma once
// Lines a player reads at a glance (--comfort): large text with a shadow, bands behind it, and
// what the HUD adds to the bars.

struct BITMAP;

// `text` centred on `centreX`, its top at `y`, each pixel of the library's font a `size` x
// `size` block, with a black shadow so it reads over any water.
void drawBigText(BITMAP* dest, const char* text, int centreX, int y, int size, int colour);
// A dark band across the picture at `y` with a large line and, when given, a small one under it.
void drawBanner(BITMAP* dest, const char* line, const char* hint, int y = 260);

// What the HUD adds when it is set: the bars' labels, the match's score, and a line shown for
// the first three seconds of each game ("you ride Berto" online). The classic HUD has none.
struct HudWords {
    bool shown = false;
    const char* health = "health";
    const char* weight = "weight";
    int score[2] = {0, 0};
    int matchLength = 0; // first to this many; 0: no match
    const char* firstTo = "first to %d";
    const char* note = nullptr;
};
extern HudWords hudWords;
