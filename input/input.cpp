#include "input/input.h"

#include <allegro.h>

#include "riders/rider.h"

RiderInput keyboardInput(const Rider& rider)
{
    RiderInput input;
    input.left = key[rider.leftKey] != 0;
    input.right = key[rider.rightKey] != 0;
    input.action = key[rider.actionKey] != 0;
    return input;
}

RiderInput combine(RiderInput a, RiderInput b)
{
    return {a.left || b.left, a.right || b.right, a.action || b.action};
}
