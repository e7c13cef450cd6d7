#include "presentation/scenery.h"

#include <allegro.h>
#include <cmath>

#include "presentation/image_source.h"

WaterSurface::WaterSurface()
    : texture(nullptr), textureWidth(0), textureHeight(0), scrollOffset(0.0f), flowSpeed(3.0f)
{
}

WaterSurface::~WaterSurface() = default;

bool WaterSurface::load(const char* path)
{
    texture = imageReader(path);
    if (!texture)
        return true;
    // The scroll wraps modulo the tile height and the tiling steps by the tile width:
    // an empty tile cannot be used for either.
    if (texture->w <= 0 || texture->h <= 0) {
        destroy_bitmap(texture);
        texture = nullptr;
        return true;
    }
    textureWidth = texture->w;
    textureHeight = texture->h;
    return false;
}

void WaterSurface::draw(BITMAP* dest, int columns, int rows, int left, int top, float speed)
{
    if (!texture || textureWidth <= 0 || textureHeight <= 0)
        return;
    const int w = textureWidth;
    const int h = textureHeight;
    const double s = scrollOffset;

    for (int i = 0; i < rows - 1; ++i)
        for (int j = 0; j < columns; ++j)
            blit(texture, dest, 0, 0, left + j * w, static_cast<int>(top + s + i * h), w, h);

    // The tile's bottom fills the gap above the first whole row, its top the row under the last.
    for (int j = 0; j < columns; ++j) {
        const int x = left + j * w;
        blit(texture, dest, 0, static_cast<int>(h - s), x, top, w, static_cast<int>(s));
        blit(texture, dest, 0, 0, x, static_cast<int>(top + s + (rows - 1) * h), w,
             static_cast<int>(h - s));
    }

    scrollOffset = static_cast<float>(
        std::fmod(s + static_cast<double>(flowSpeed) + static_cast<double>(speed), h));
}

RiverBanks::RiverBanks() : scrollOffset(0.0f) {}

RiverBanks::~RiverBanks() = default;

bool RiverBanks::load(const char* leftPath, const char* rightPath)
{
    BITMAP* strip = imageReader(leftPath);
    if (!strip)
        return true;
    left.init(strip, 100, 600, 0, 0, 4, 0, 9);
    strip = imageReader(rightPath);
    if (!strip)
        return true;
    right.init(strip, 100, 600, 0, 0, 4, 0, 9);
    return false;
}

void RiverBanks::draw(BITMAP* dest, float speed)
{
    const double s = scrollOffset;
    const int y = static_cast<int>(s);
    const int yAbove = static_cast<int>(s - SCREEN_H);
    left.draw(dest, 0, y);
    left.draw(dest, 0, yAbove);
    const int rightX = SCREEN_W - right.frameWidth;
    right.draw(dest, rightX, y);
    right.draw(dest, rightX, yAbove);
    scrollOffset = static_cast<float>(std::fmod(s + static_cast<double>(speed), SCREEN_H));
}
