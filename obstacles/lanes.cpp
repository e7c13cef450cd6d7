#include "obstacles/lanes.h"

ObstacleLanes::ObstacleLanes() = default;
ObstacleLanes::~ObstacleLanes() = default;
