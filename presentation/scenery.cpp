#include "presentation/scenery.h"

#include <allegro.h>

// STAND-IN until the scenery lands.
WaterSurface::WaterSurface()
    : texture(nullptr), textureWidth(0), textureHeight(0), scrollOffset(0.0f), flowSpeed(3.0f)
{
}
WaterSurface::~WaterSurface() = default;
bool WaterSurface::load(const char*) { return false; }
void WaterSurface::draw(BITMAP*, int, int, int, int) {}

RiverBanks::RiverBanks() : scrollOffset(0.0f) {}
RiverBanks::~RiverBanks() = default;
bool RiverBanks::load(const char*, const char*) { return false; }
void RiverBanks::draw(BITMAP*) {}
