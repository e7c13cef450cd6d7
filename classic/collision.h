#pragma once
// The riders meeting: a bump side by side, or one landing on the other.
#include <cstdint>

// 0 when a and b are closer than `limit`, else the sign of a - b.
int signWithDeadZone(float a, float b, float limit);

// Height order of the riders at the previous step: +1 when riders[0] was higher.
extern int prevRiderHeightSign;

// Bumps riders side by side, or lets the one that was higher land on the other.
void resolveRiderCollision();
