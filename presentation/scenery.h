#pragma once
// The scrolling water and banks, which move on by the river's speed with every frame shown.
#include "presentation/sprite.h"

struct BITMAP;

class WaterSurface {
public:
    WaterSurface();
    virtual ~WaterSurface();
    bool load(const char* path);
    // Tiles the water, then advances the scroll by flowSpeed + riverSpeed (the classic game's;
    // this one is the classic wing's, classic/frame.cpp).
    void draw(BITMAP* dest, int columns, int rows, int left, int top);
    // The same with the river's speed given.
    void draw(BITMAP* dest, int columns, int rows, int left, int top, float speed);

    BITMAP* texture;
    int32_t textureWidth;
    int32_t textureHeight;
    float scrollOffset;
    float flowSpeed;
};

class RiverBanks {
public:
    RiverBanks();
    virtual ~RiverBanks();
    bool load(const char* leftPath, const char* rightPath);
    // Draws both banks twice, one screen apart, then advances the scroll by riverSpeed (the
    // classic game's; this one is the classic wing's, classic/frame.cpp).
    void draw(BITMAP* dest);
    // The same with the river's speed given.
    void draw(BITMAP* dest, float speed);

    AnimatedSprite left;
    AnimatedSprite right;
    float scrollOffset;
};

extern WaterSurface water;
extern RiverBanks banks;
