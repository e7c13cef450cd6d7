#pragma once

struct BITMAP;

// Names, health bars and mass bars of both riders.
void drawHud(BITMAP* dest);
