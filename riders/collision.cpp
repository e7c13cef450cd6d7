#include "riders/collision.h"

int prevRiderHeightSign = 0;

// STAND-IN until the collision lands.
int signWithDeadZone(float, float, float) { return 0; }
void resolveRiderCollision() {}
