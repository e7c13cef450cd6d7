#pragma once

#include <cstdint>

struct BITMAP;

// Where the game's picture (always composed at its own size, 800 x 600) lands on the screen.
struct Placement {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// The largest rectangle of the picture's shape that fits the screen, centred (the rest is
// black bars).
Placement fitPicture(int pictureW, int pictureH, int screenW, int screenH);

// From now on the picture is shown at `where` on the screen, nearest-neighbour scaled. Called
// once the window is open and only when the picture is not shown as it is: the library then
// reports the picture's size as the screen's (SCREEN_W, SCREEN_H), which the rules read.
void showPictureAt(const Placement& where, int pictureW, int pictureH);

// Copies the finished picture to the screen: as it is, or scaled to its placement.
void present(BITMAP* picture);

// The display's refresh rate in Hz, 0 when it cannot be known.
int displayRefreshRate();

// A memory bitmap the picture's size whose rows are the screen's own memory, so that a picture
// is composed where it is shown and present() only sends it to the X server: a copy of the
// whole screen less per picture. Only in the plain window of the X11 driver at 32 bits per
// pixel; nullptr elsewhere.
BITMAP* pictureInScreen();

// The pointer's position in the picture's pixels (the pixel shown under it; on a bar, the
// nearest edge of the picture).
int pictureMouseX();
int pictureMouseY();

// Which pixel of a picture `from` pixels wide (or high) each pixel of it scaled to `to` shows:
// the one under its middle, reckoned in the 16-bit fixed point of the X server's own scaling, so
// that a picture scaled here and one scaled by the server are the same pixels. In whole scales
// every pixel of the picture is a block of exactly that many pixels.
struct ScaleMap {
    int32_t step = 0x10000; // the picture's pixels per scaled pixel, in 1/65536 of a pixel
    int32_t offset = 0;     // added to every position, in 1/65536 of a pixel
};
ScaleMap scaleMap(int from, int to);
int sourceOf(const ScaleMap& map, int at);

// The scaling itself, between two 32-bit memory bitmaps of any sizes: each pixel of `to`
// takes the pixel of `from` that scaleMap names.
void scaleCopy(BITMAP* from, BITMAP* to);
