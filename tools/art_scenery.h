#pragma once
// The river's scenery: the water tile, the two banks, the bridge and its shadow.
#include <string>

namespace art {

// The water tile: seamless both ways and large enough to cover the river in 4 x 5 tiles.
const int WATER_TILE_W = 200;
const int WATER_TILE_H = 200;
const int BRIDGE_H = 120;

// voda-textura.tga, brehlavy.bmp, brehpravy.bmp, most.tga, mosttien.tga. False on a failed save.
bool writeScenery(const std::string& dir);

} // namespace art
