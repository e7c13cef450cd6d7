#include "input/input.h"


RiderInput combine(RiderInput a, RiderInput b)
{
    return {a.left || b.left, a.right || b.right, a.action || b.action};
}

static uint8_t packRider(const RiderInput& input)
{
    return static_cast<uint8_t>((input.left ? 1 : 0) | (input.right ? 2 : 0) | (input.action ? 4 : 0));
}

static RiderInput unpackRider(unsigned bits)
{
    return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
}

uint8_t packPass(const PassInput& pass)
{
    return static_cast<uint8_t>(packRider(pass.riders[0]) | packRider(pass.riders[1]) << 3 |
                                (pass.leave ? 0x40 : 0));
}

bool unpackPass(uint8_t byte, PassInput& pass)
{
    if (byte & 0x80)
        return false;
    pass.riders[0] = unpackRider(byte);
    pass.riders[1] = unpackRider(byte >> 3);
    pass.leave = (byte & 0x40) != 0;
    return true;
}
