#pragma once
// Small synthetic pictures and global-state guards for the scene and asset tests.
#include <allegro.h>

#include <cstdint>

#include "app/clock.h"
#include "app/game.h"
#include "presentation/scenery.h"
#include "classic/rider.h"

namespace scene_test {

// Colours the scene tests paint their stand-in sprites with.
const int WHITE = 0xffffff;
const int RED = 0xff0000;
const int SHADOW = 0x202020;

inline BITMAP* solidBitmap(int w, int h, int colour)
{
    BITMAP* bmp = create_bitmap(w, h);
    clear_to_color(bmp, colour);
    return bmp;
}

// A colour never used by the synthetic art: what a pixel holds when nothing drew on it.
inline int untouched()
{
    return makecol(1, 2, 3);
}

// Restores the scenery, riders, clock and river speed a test changes.
struct SceneState {
    WaterSurface savedWater;
    AnimatedSprite savedLeft, savedRight;
    float savedBankScroll;
    Rider* savedRiders[2];
    uint32_t savedTicks;
    float savedRiverSpeed;
    bool savedGameOver;

    SceneState()
        : savedLeft(banks.left), savedRight(banks.right), savedBankScroll(banks.scrollOffset),
          savedRiders{riders[0], riders[1]}, savedTicks(ticks.load()),
          savedRiverSpeed(riverSpeed), savedGameOver(gameOver)
    {
        savedWater.texture = water.texture;
        savedWater.textureWidth = water.textureWidth;
        savedWater.textureHeight = water.textureHeight;
        savedWater.scrollOffset = water.scrollOffset;
        savedWater.flowSpeed = water.flowSpeed;
    }
    ~SceneState()
    {
        water.texture = savedWater.texture;
        water.textureWidth = savedWater.textureWidth;
        water.textureHeight = savedWater.textureHeight;
        water.scrollOffset = savedWater.scrollOffset;
        water.flowSpeed = savedWater.flowSpeed;
        banks.left = savedLeft;
        banks.right = savedRight;
        banks.scrollOffset = savedBankScroll;
        riders[0] = savedRiders[0];
        riders[1] = savedRiders[1];
        ticks = savedTicks;
        riverSpeed = savedRiverSpeed;
        gameOver = savedGameOver;
    }
};

} // namespace scene_test
