#pragma once
// Drawing the pieces of a frame: a rider and the HUD, from a world's values.
#include <cstdint>

struct BITMAP;
class Rider;
struct RiderState;
struct World;

// A rider with `looks` (its sprites) where `state` puts it, blinking by `blinkUntil` at `now`.
void drawRider(BITMAP* dest, Rider& looks, const RiderState& state, uint32_t blinkUntil,
               uint32_t now);
// The shadow of a bridge whose top edge is at `bridgeY` (before the pass moved it): 20 px below
// it, across the screen. Nothing without the shadow's image.
void drawBridgeShadow(BITMAP* dest, float bridgeY);
// Names, health bars and mass bars of both riders.
void drawHud(BITMAP* dest, const World& world);
