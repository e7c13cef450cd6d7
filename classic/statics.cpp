// The game's long-lived objects, defined together so that they are built in this order
// before main and torn down in reverse after it.
#include "classic/obstacle.h"
#include "obstacles/obstacle.h"
#include "presentation/scenery.h"

WaterSurface water;
RiverBanks banks;
ObstacleKind obstacleKinds[4];
