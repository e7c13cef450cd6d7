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
// Names, health bars and mass bars of both riders.
void drawHud(BITMAP* dest, const World& world);
