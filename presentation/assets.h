#pragma once

struct BITMAP;

extern BITMAP* titleBitmap;
extern BITMAP* bridgeShadowBitmap;

// Loads the sounds, creates both riders, loads every image into its sprite and fills the
// obstacle kinds. Stops at the first failure and undoes nothing. True on failure.
bool loadAssets();

// Gives obstacle kind k its sprite, the catalogue's frame size (the bridge as high as its
// image) and the kind's parameters. A null strip draws nothing.
void setObstacleKind(int k, BITMAP* strip, int imageHeight);
