#pragma once
#include <cstdint>

// The frame sizes of the four obstacle kinds (the bridge's height is its art's).
struct KindGeometry {
    uint16_t width[4];
    uint16_t height[4];
};

// The sizes the loaded art gave the kinds.
KindGeometry currentGeometry();

// Brings the game up without a window, a sound device or any file: the library with no
// system driver, an 800 x 600 screen size for the rules, both riders, and the obstacle kinds
// with these frame sizes and their usual parameters. Nothing is drawn or heard. False when
// the geometry is out of range.
bool startHeadless(const KindGeometry& geometry);
