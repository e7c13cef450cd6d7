// The game's long-lived objects, defined together so that they are built in this order
// before main and torn down in reverse after it.
#include "classic/frame.h"
#include "classic/obstacle.h"
#include "obstacles/obstacle.h"
#include "presentation/scenery.h"

WaterSurface water;
RiverBanks banks;
ObstacleKind obstacleKinds[4];

// Before anything is drawn, the drawing finds its looks in the classic records.
static const bool classicShown = (showClassicLooks(), true);
