#pragma once

// How the command line asks for the window: each pixel of the picture as a `scale` x `scale`
// block, or the whole desktop. The default is the plain 800 x 600 window, one picture a pass;
// `smooth` draws pictures at the display's pace between the passes.
// A scale of 0 asks for the largest whole scale that fits the desktop. No window is larger
// than the desktop's usable area: a scale too large gives way to the largest that fits.
struct WindowRequest {
    int scale = 1;
    bool fullscreen = false;
    int shownScale = 1; // the scale the window opened at
    bool smooth = false;
};
extern WindowRequest windowRequest;

// Docks and task bars know a window by its class and show its icon: River Duel's own, not the
// library's. The library's X11 driver makes its window as it starts, so this comes first.
void nameWindow();

// The window's memory goes with the game however it ends (desktop.cpp: X shared memory).
void markScreenMemoryForRemoval();

// Opens the window as asked, named and drawn as River Duel's own to the desktop. A desktop
// that cannot be filled gets a line on standard error and the plain window. True on failure.
bool openWindow();

// The desktop's usable area (without its panels), in pixels. False without a display.
bool usableArea(int& w, int& h);
// The largest scale from 1 to `wanted` whose window fits an area of `areaW` x `areaH`.
int fittingScale(int wanted, int areaW, int areaH);
