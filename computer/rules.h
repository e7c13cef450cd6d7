#pragma once
// Inside the computer rider only: its own copy of a rider's rules for one pass, inline so that
// trying out plans runs them fast. They follow riders/controls.cpp, motion.cpp and
// collision.cpp number for number, without a sound or anything else that leaves a trace.
#include <cmath>

#include "computer/model.h"
#include "riders/rider.h"

namespace computer {

// Keys (not in the air), drag and velocity, as updateRiders does before the collision.
inline void handle(Body& body, const RiderInput& input, int32_t pass)
{
    float acceleration = 0.0f;
    if (!(body.state & STATE_AIRBORNE)) {
        if (input.left)
            acceleration = static_cast<float>(acceleration - body.push);
        if (input.right)
            acceleration = static_cast<float>(acceleration + body.push);
        if (input.action && !body.held) {
            body.held = true;
            body.pressPass = pass;
        } else if (!input.action && body.held) {
            if (pass <= body.pressPass + 20) {
                const uint32_t charge = static_cast<uint32_t>((pass - body.pressPass) + 10) * 15;
                body.verticalSpeed =
                    static_cast<float>(charge / std::sqrt(static_cast<double>(body.mass)));
                body.state = STATE_AIRBORNE;
            } else if (body.state & STATE_SUBMERGED) {
                body.height = 0.0f;
                body.state = STATE_SURFACE;
            }
            body.held = false;
        } else if (input.action && body.held) {
            if (pass >= body.pressPass + 20 && body.height != -80.0f) {
                body.height = -80.0f;
                body.state = STATE_SUBMERGED;
            }
        }
    }
    if (body.velocity != 0.0f && !(body.state & STATE_AIRBORNE)) {
        if (body.velocity > 0.0f)
            acceleration = static_cast<float>(acceleration - body.drag);
        else
            acceleration = static_cast<float>(acceleration + body.drag);
    }
    const double v = body.velocity;
    const double a = acceleration;
    if (std::fabs(a) > std::fabs(v) && v * a < 0.0)
        body.velocity = 0.0f;
    else
        body.velocity = static_cast<float>(v + a);
}

// The move with its banks, after the collision; returns the bank hits.
inline int move(Body& body, int32_t screenW)
{
    if (body.height >= 0.0f && body.height < 20.0f)
        body.state |= STATE_SURFACE;
    else
        body.state &= ~STATE_SURFACE;
    if (body.state & STATE_AIRBORNE) {
        body.verticalSpeed = static_cast<float>(body.verticalSpeed - 2.0);
        body.height = static_cast<float>(static_cast<double>(body.height) + body.verticalSpeed);
        if (body.height < 0.0f) {
            body.verticalSpeed = 0.0f;
            body.height = 0.0f;
            body.state = STATE_SURFACE;
        }
    }
    body.x = static_cast<float>(static_cast<double>(body.x) + body.velocity);
    int hits = 0;
    const float right = static_cast<float>(screenW - 125);
    if (body.x > right || body.x < 125.0f) {
        body.x = body.x > right ? right : 125.0f;
        body.velocity = static_cast<float>(-static_cast<double>(body.velocity) / 2.0);
        body.health -= 5;
        hits = 1;
    }
    return hits;
}

inline int sign(float a, float b, float limit)
{
    const float d = a - b;
    if (std::fabs(d) < limit)
        return 0;
    return a > b ? 1 : -1;
}

inline void landOn(const Body& upper, Body& lower)
{
    const int side = lower.x - upper.x < 0.0f ? -1 : 1;
    lower.x = static_cast<float>(static_cast<double>(upper.x) + 50.0 * side);
    lower.velocity = static_cast<float>(20 * side);
    if (lower.verticalSpeed > 0.0f)
        lower.verticalSpeed = 0.0f;
    lower.health -= 5;
}

// How the riders met at a pass.
enum Touch { APART, BUMPED, A_LANDED, B_LANDED };

// The two riders' collision, riders[0] as `a`; `prevSign` is the height order at the
// previous pass.
inline Touch collide(Body& a, Body& b, int& prevSign)
{
    const int gap = sign(a.x, b.x, 50.0f);
    const int heightSign = sign(a.height, b.height, 20.0f);
    Touch touch = APART;
    if (gap == 0 && heightSign == 0) {
        if (prevSign == 0) {
            const double mA = a.mass, mB = b.mass, vA = a.velocity, vB = b.velocity;
            a.velocity = static_cast<float>((mA - mB) / (mA + mB) * (vA - vB) + vB);
            b.velocity = static_cast<float>((mB - mA) / (mA + mB) * (vB - vA) + vA);
            const double middle = (static_cast<double>(a.x) + b.x) / 2.0;
            const bool aLeft = a.x < b.x;
            a.x = static_cast<float>(aLeft ? middle - 25.0 : middle + 25.0);
            b.x = static_cast<float>(aLeft ? middle + 25.0 : middle - 25.0);
            touch = BUMPED;
        } else if (prevSign > 0) {
            landOn(a, b);
            touch = A_LANDED;
        } else {
            landOn(b, a);
            touch = B_LANDED;
        }
    }
    prevSign = heightSign;
    return touch;
}

}  // namespace computer
