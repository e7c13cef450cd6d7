#pragma once
// A game's frame: a world drawn in its layers into the back buffer and shown on the screen.

struct BITMAP;
struct World;

// Every menu and game frame is composed here, then copied to the screen with one blit.
extern BITMAP* backBuffer;

// Draws the last pass of `world` into `dest`: water and banks (which then scroll on), dived
// riders, rocks, logs and burgers where they stood before they moved, bridge shadows, floating
// riders, bridges, jumping riders and the HUD. The world is only read.
void drawWorld(const World& world, BITMAP* dest);
// The back buffer on the screen.
void showFrame();

