#pragma once
// The game brought up without a window, a sound device or any file, for verifying and tests.
#include <cstdint>

// The one size the art decides for the rules: the bridge's height. Every other obstacle
// frame size is fixed by the catalogue.
struct KindGeometry {
    uint16_t bridgeHeight = 0;
};
constexpr uint16_t maxBridgeHeight = 600;

// The sizes the loaded art gave the kinds.
KindGeometry currentGeometry();

// Brings the game up without a window, a sound device or any file: the library with no
// system driver, both riders, and the obstacle kinds
// with their usual parameters and this geometry. Nothing is drawn or heard. False when the
// geometry is out of range (a bridge height of 1 to maxBridgeHeight).
bool startHeadless(const KindGeometry& geometry);
