#pragma once
// The riders' rules, written once for any record with a rider's fields: the game's riders[],
// the riders of a world, and the riders the computer imagines while it plans.
#include <cmath>
#include <cstdint>

#include "input/input.h"
#include "riders/cues.h"

// The river the rules play on: the classic window, 800 x 600, whatever shows it.
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;

enum : uint8_t {
    STATE_SUBMERGED = 1,
    STATE_SURFACE = 2,
    STATE_AIRBORNE = 4,
};

// The body a rider shows; the numbers are the ones the state hash has always used.
enum RiderBody : int8_t {
    BODY_OTHER = -1, // a sprite the rider was given by hand
    BODY_SURFACE = 0,
    BODY_SUBMERGED = 1,
    BODY_AIRBORNE = 2,
    BODY_WIND_UP = 3,
};

// A rider as the rules see it: Rider's rule fields, with the body it shows by name.
struct RiderState {
    float height = 0.0f;
    float verticalSpeed = 0.0f;
    float x = 0.0f;
    float velocity = 0.0f;
    float acceleration = 0.0f;
    float mass = 100.0f;
    int32_t health = 200;
    uint8_t index = 0;
    uint8_t state = STATE_SURFACE;
    uint32_t blinkUntil = 0;
    bool actionHeld = false;
    uint32_t actionPressTick = 0;
    RiderBody body = BODY_SURFACE;
};

inline void setBody(RiderState& rider, RiderBody body)
{
    rider.body = body;
}

// What both riders' rules share beside the riders: the pass's tick, the game's decision, the
// height order at the pass before, and the screen's width for the banks.
struct Contest {
    uint32_t now;
    bool& gameOver;
    uint8_t& winner;
    int32_t& prevRiderHeightSign;
    int screenW;
};

namespace rules {

// Steering and the action key: charge, jump, dive, emerge. Nothing in the air or once decided.
template <class R, class Sink>
void handleInput(R& r, const RiderInput& input, uint32_t now, bool gameOver, Sink& cues)
{
    if ((r.state & STATE_AIRBORNE) || gameOver)
        return;
    if (input.left)
        r.acceleration = static_cast<float>(r.acceleration - 100.0 / r.mass);
    if (input.right)
        r.acceleration = static_cast<float>(r.acceleration + 100.0 / r.mass);

    const bool down = input.action;
    if (down && !r.actionHeld) {
        r.actionPressTick = now;
        r.actionHeld = true;
        setBody(r, BODY_WIND_UP);
    } else if (!down && r.actionHeld) {
        if (now <= r.actionPressTick + 20) {
            // The longer the charge, the higher the jump; heavier riders jump lower.
            const uint32_t charge = ((now - r.actionPressTick) + 10) * 15;
            r.verticalSpeed = static_cast<float>(charge / std::sqrt(static_cast<double>(r.mass)));
            r.state = STATE_AIRBORNE;
            setBody(r, BODY_AIRBORNE);
            cues.play(SND_JUMP);
        } else if (r.state & STATE_SUBMERGED) {
            r.height = 0.0f;
            r.state = STATE_SURFACE;
            setBody(r, BODY_SURFACE);
            cues.play(SND_EMERGE);
        }
        r.actionHeld = false;
    } else if (down && r.actionHeld) {
        // Setting the height to exactly -80 makes this fire once per hold.
        if (now >= r.actionPressTick + 20 && r.height != -80.0f) {
            r.height = -80.0f;
            r.state = STATE_SUBMERGED;
            setBody(r, BODY_SUBMERGED);
            cues.play(SND_DIVE);
        }
    }
}

template <class R>
void applyDrag(R& r)
{
    if (r.velocity == 0.0f || (r.state & STATE_AIRBORNE))
        return;
    if (r.velocity > 0.0f)
        r.acceleration = static_cast<float>(r.acceleration - 50.0 / r.mass);
    else
        r.acceleration = static_cast<float>(r.acceleration + 50.0 / r.mass);
}

// A rider that would turn round within one step stops for that step instead.
template <class R>
void integrateVelocity(R& r)
{
    const double v = r.velocity;
    const double a = r.acceleration;
    if (std::fabs(a) > std::fabs(v) && v * a < 0.0)
        r.velocity = 0.0f;
    else
        r.velocity = static_cast<float>(v + a);
}

// 0 when a and b are closer than `limit`, else the sign of a - b.
inline int signWithDeadZone(float a, float b, float limit)
{
    const float difference = a - b;
    if (std::fabs(difference) < limit)
        return 0;
    return a > b ? 1 : -1;
}

// Perfectly elastic: momentum and energy kept, the heavier rider deflected less.
template <class R, class Sink>
void bump(R& a, R& b, Sink& cues)
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
    cues.play(SND_BUMP);
}

// The lower rider is shoved aside on the side it is on, to the right when straight below.
template <class R, class Sink>
void landOn(const R& upper, R& lower, uint32_t now, Sink& cues)
{
    const int side = lower.x - upper.x < 0.0f ? -1 : 1;
    lower.x = static_cast<float>(static_cast<double>(upper.x) + 50.0 * side);
    lower.velocity = static_cast<float>(20 * side);
    if (lower.verticalSpeed > 0.0f)
        lower.verticalSpeed = 0.0f;
    lower.health -= 5;
    lower.blinkUntil = now + 10;
    cues.play(SND_STOMP);
}

// Bumps riders side by side, or lets the one that was higher land on the other. Who is on top
// is decided by the height order at the previous step.
template <class R, class Sink>
void collide(R& a, R& b, Contest& c, Sink& cues)
{
    const int riderGapSign = signWithDeadZone(a.x, b.x, 50.0f);
    const int riderHeightSign = signWithDeadZone(a.height, b.height, 20.0f);
    if (riderGapSign == 0 && riderHeightSign == 0) {
        if (c.prevRiderHeightSign == 0)
            bump(a, b, cues);
        else if (c.prevRiderHeightSign > 0)
            landOn(a, b, c.now, cues);
        else
            landOn(b, a, c.now, cues);
    }
    c.prevRiderHeightSign = riderHeightSign;
}

// The arc of a jump, the steering, the banks and the end of the game.
template <class R, class Sink>
void move(R& r, Contest& c, Sink& cues)
{
    // Uses the height before this step's arc, so the bit follows a jump one step late.
    if (r.height >= 0.0f && r.height < 20.0f)
        r.state |= STATE_SURFACE;
    else
        r.state &= ~STATE_SURFACE;

    if (r.state & STATE_AIRBORNE) {
        r.verticalSpeed = static_cast<float>(r.verticalSpeed - 2.0);
        r.height = static_cast<float>(static_cast<double>(r.height) + r.verticalSpeed);
        if (r.height < 0.0f) {
            r.verticalSpeed = 0.0f;
            r.height = 0.0f;
            r.state = STATE_SURFACE;
            setBody(r, BODY_SURFACE);
            cues.play(SND_LAND);
        }
    }

    r.x = static_cast<float>(static_cast<double>(r.x) + r.velocity);

    const int rightLimit = c.screenW - 125;
    if (r.x > rightLimit) {
        r.x = static_cast<float>(rightLimit);
        r.velocity = static_cast<float>(-static_cast<double>(r.velocity) / 2.0);
        r.health -= 5;
        r.blinkUntil = c.now + 10;
        cues.play(SND_BANK);
    }
    if (r.x < 125.0f) {
        r.x = 125.0f;
        r.velocity = static_cast<float>(-static_cast<double>(r.velocity) / 2.0);
        r.health -= 5;
        r.blinkUntil = c.now + 10;
        cues.play(SND_BANK);
    }

    r.acceleration = 0.0f;

    if (r.health <= 0) {
        r.health = 0;
        if (!c.gameOver) {
            c.gameOver = true;
            c.winner = r.index == 0 ? 1 : 0;
            cues.stop(SND_MUSIC);
            cues.play(SND_GAME_END);
        }
    }
}

// One step of both riders: inputs, drag, velocity, their collision (which sees this step's
// velocities and any dive or emerge, but the positions the step before left), then motion.
// `a` is always riders[0] and goes first.
template <class R, class Sink>
void stepRiders(R& a, R& b, const RiderInput inputs[2], Contest& c, Sink& cues)
{
    handleInput(a, inputs[0], c.now, c.gameOver, cues);
    handleInput(b, inputs[1], c.now, c.gameOver, cues);
    applyDrag(a);
    applyDrag(b);
    integrateVelocity(a);
    integrateVelocity(b);
    collide(a, b, c, cues);
    move(a, c, cues);
    move(b, c, cues);
}

} // namespace rules
