#include "classic/lanes.h"

ObstacleLanes::ObstacleLanes() = default;
ObstacleLanes::~ObstacleLanes() = default;
