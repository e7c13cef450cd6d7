#include "classic/collision.h"

#include "riders/rules.h"

int prevRiderHeightSign = 0;

int signWithDeadZone(float a, float b, float limit)
{
    return rules::signWithDeadZone(a, b, limit);
}
