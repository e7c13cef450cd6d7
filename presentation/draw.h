#pragma once
// Drawing the pieces of a frame: a rider and the HUD, from a world's values.
#include <cstdint>

struct BITMAP;
class AnimatedSprite;
struct RiderLooks;
struct RiderState;
struct World;

// A rider's `body` at `x` and `height` (its `shadow` under it when airborne), blinking by
// `blinkUntil` at tick `now`; a missing sprite draws nothing.
void drawRiderBody(BITMAP* dest, AnimatedSprite* body, AnimatedSprite* shadow, float x,
                   float height, uint8_t state, uint32_t blinkUntil, uint32_t now);
// A rider with `looks` where `state` puts it, blinking by `blinkUntil` at tick `now`.
void drawRider(BITMAP* dest, const RiderLooks& looks, const RiderState& state, uint32_t blinkUntil,
               uint32_t now);
// The shadow of a bridge whose top edge is at `bridgeY` (before the pass moved it): 20 px below
// it, across the screen. Nothing without the shadow's image.
void drawBridgeShadow(BITMAP* dest, float bridgeY);
// Names, health bars and mass bars of both riders.
void drawHud(BITMAP* dest, const World& world);
