#pragma once
// The classic game's frame and HUD, drawn from its globals through the drawing's own.

struct BITMAP;
class ObstacleLanes;

// Moves and hit-tests the live game's obstacles (playing what they hit), composes the frame in
// its layers into backBuffer and copies it to the screen.
void renderFrame(ObstacleLanes& lanes);

// Names, health bars and mass bars of both riders.
void drawHud(BITMAP* dest);

// Lets the drawing find the riders' and obstacle kinds' sprites in riders[] and obstacleKinds,
// and animate sprites by `ticks`. Done before main.
void showClassicLooks();
