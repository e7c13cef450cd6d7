#pragma once
// The heads-up display: both riders' names, health and mass.

struct BITMAP;

// Names, health bars and mass bars of both riders.
void drawHud(BITMAP* dest);
