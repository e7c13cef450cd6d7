#pragma once
// Pictures between two passes: the world as the last pass left it and a copy stepped silently
// a pass ahead, drawn at any instant between them. Only what moves moves: bodies, layers,
// blinking, animation frames and the HUD stay the last pass's.
struct BITMAP;
struct World;

// `now` with its riders and obstacles `f` (0 to 1) of the way to where `ahead` shows them.
// An obstacle `ahead` no longer shows (eaten, gone) drifts with the river.
void blendWorld(const World& now, const World& ahead, float f, World& between);

// Draws `between` as drawWorld does, with the water and banks `f` of a pass further on than the
// pass's own picture (drawn just before) left them; their scroll stays where that picture left it.
void drawBetween(const World& between, float f, BITMAP* dest);
