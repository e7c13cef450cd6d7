#pragma once
// The classic game's globals (riders[], riverSpeed, gameOver, ... , the lanes and the C
// library's generator) as a world, and a world put back into them.
#include "simulation/world.h"

class ObstacleLanes;

// `ticks` is read, never written.
void captureWorld(World& world, const ObstacleLanes* lanes);
void publishWorld(const World& world, ObstacleLanes* lanes);
