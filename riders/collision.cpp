#include "riders/collision.h"

#include <cmath>

#include "app/clock.h"
#include "audio/sound.h"
#include "riders/rider.h"

int prevRiderHeightSign = 0;

int signWithDeadZone(float a, float b, float limit)
{
    const float difference = a - b;
    if (std::fabs(difference) < limit)
        return 0;
    return a > b ? 1 : -1;
}

// Perfectly elastic: momentum and energy kept, the heavier rider deflected less.
static void bump(Rider& a, Rider& b)
{
    const double mA = a.mass;
    const double mB = b.mass;
    const double vA = a.velocity;
    const double vB = b.velocity;
    a.velocity = static_cast<float>((mA - mB) / (mA + mB) * (vA - vB) + vB);
    b.velocity = static_cast<float>((mB - mA) / (mA + mB) * (vB - vA) + vA);

    const double middle = (static_cast<double>(a.x) + b.x) / 2.0;
    if (a.x < b.x) {
        a.x = static_cast<float>(middle - 25.0);
        b.x = static_cast<float>(middle + 25.0);
    } else {
        b.x = static_cast<float>(middle - 25.0);
        a.x = static_cast<float>(middle + 25.0);
    }
    playSound(SND_BUMP);
}

// The lower rider is shoved aside on the side it is on, to the right when straight below.
static void landOn(const Rider& upper, Rider& lower)
{
    const int side = lower.x - upper.x < 0.0f ? -1 : 1;
    lower.x = static_cast<float>(static_cast<double>(upper.x) + 50.0 * side);
    lower.velocity = static_cast<float>(20 * side);
    if (lower.verticalSpeed > 0.0f)
        lower.verticalSpeed = 0.0f;
    lower.health -= 5;
    lower.blinkUntil = ticks + 10;
    playSound(SND_STOMP);
}

void resolveRiderCollision()
{
    Rider& a = *riders[0];
    Rider& b = *riders[1];
    const int riderGapSign = signWithDeadZone(a.x, b.x, 50.0f);
    const int riderHeightSign = signWithDeadZone(a.height, b.height, 20.0f);
    if (riderGapSign == 0 && riderHeightSign == 0) {
        // Who is on top is decided by the height order at the previous step.
        if (prevRiderHeightSign == 0)
            bump(a, b);
        else if (prevRiderHeightSign > 0)
            landOn(a, b);
        else
            landOn(b, a);
    }
    prevRiderHeightSign = riderHeightSign;
}
