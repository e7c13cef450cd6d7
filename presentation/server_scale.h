#pragma once
// The X server's own scaling of the picture (its RENDER extension): only the picture's
// 800 x 600 pixels go to the server, which shows them nearest-neighbour scaled, so a full screen
// costs the game little more than the plain window.

struct BITMAP;
struct Placement;

// From now on the picture (pictureW x pictureH) is shown scaled at `where` in the library's X
// window by the server. False, with nothing changed, when this cannot be: another driver, no
// RENDER, a pixel layout the server does not share.
bool startServerScaling(const Placement& where, int pictureW, int pictureH);

// Sends the finished picture and has the server show it. False when this picture cannot be sent
// as it is (not a whole 32-bit bitmap of the picture's size): it is then scaled here.
bool showServerScaled(BITMAP* picture);

// Back to the library's own window as it was (the picture no longer shown by the server), while
// that window is still open.
void stopServerScaling();
