#pragma once
// Inside the computer rider only: what it sees of the river, what it makes of that, and the
// plans it tries out on its own copy of the rules (computer/rules.h).
#include <cstdint>

#include "input/input.h"

struct World;

namespace computer {

const int MAX_SEEN = 24;

// A rider as the player sees it: where, how fast, how high, how heavy, which body it shows.
// `held` and `pressPass` are the rider's own action key: down, and since which pass.
struct Body {
    float x = 0, velocity = 0, height = 0, verticalSpeed = 0, mass = 100;
    int32_t health = 200;
    uint8_t state = 2;
    bool held = false;
    int32_t pressPass = 0;
    // What the mass makes of a push of the steering keys and of the drag, as the rules
    // work them out; kept with the mass so that trying plans need not divide.
    double push = 1.0, drag = 0.5;
    void weigh(float m)
    {
        mass = m;
        push = 100.0 / m;
        drag = 50.0 / m;
    }
};

// An obstacle on the screen. `touched` is set once it has touched the computer's rider.
struct Thing {
    float x, y, speed;
    int16_t width, height, damage;
    uint8_t layerMask;
    bool touched;
};

// One look at the river, taken before pass `pass` is played.
struct View {
    int32_t pass = 0;
    Body riders[2];
    Thing things[MAX_SEEN];
    int count = 0;
    int32_t screenW = 800;
    bool over = false;
};

// Looks at the riders and at the obstacles on the screen that can still reach them.
void look(const World& world, int self, int32_t pass, View& view);

const int DELAY = 3;    // passes between a look and the keys it leads to
const int HORIZON = 32; // passes a plan is tried out for

// A plan from now on: steer towards `target`, hold the action key from pass `pressFrom` up to
// (not including) pass `releaseAt`, both counted from now.
struct Plan {
    float target = 400;
    int16_t pressFrom = 0, releaseAt = 0;
};

// The keys a plan presses `offset` passes from now, for the body as it stands then.
RiderInput keysFor(const Plan& plan, const Body& body, int offset);

// The river as the computer expects it from now on: its own rider and the other one, and the
// obstacles with the passes (from now) in which each can reach the riders' row.
struct Threat {
    int16_t first, last;
    float centre, reach;
    int16_t damage;
    uint8_t layerMask;
};
struct Situation {
    int32_t now = 0;
    int self = 0;
    int32_t screenW = 800;
    Body me, other;
    int prevSign = 0;
    // The other rider's way for as long as the two do not meet: after its keys, and after
    // its move, at each pass from now.
    Body otherKeyed[HORIZON], otherMoved[HORIZON];
    Threat threats[MAX_SEEN];
    int count = 0;
};

// From a look `DELAY` passes old and the keys pressed since: the situation now.
void foresee(const View& seen, int self, const RiderInput* pressedSince, Situation& now);
// The plan with the best outcome over the horizon; `last` is the plan followed until now.
Plan choose(const Situation& now, const Plan* last);

}  // namespace computer
