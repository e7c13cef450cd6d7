#pragma once
// Inside the computer rider only: what it sees of the river, what it makes of that, and the
// plans it tries out on copies of the riders under the game's own rules (riders/rules.h).
#include <cstdint>

#include "input/input.h"
#include "riders/rules.h"

struct World;

namespace classic {

const int MAX_SEEN = 24;

// The computer counts time in its own passes, which the rules see `EPOCH` passes on: a press
// it sees taken before its first look still lies after zero. Older presses all act alike.
const uint32_t EPOCH = 1000;

// An obstacle on the screen. `touched` is set once it has touched the computer's rider.
struct Thing {
    float x, y, speed;
    int16_t width, height, damage;
    uint8_t layerMask;
    bool touched;
};

// One look at the river, taken before the pass at `clock` is played. The riders are the
// world's, their presses timed by that clock.
struct View {
    uint32_t clock = EPOCH;
    RiderState riders[2];
    int32_t prevSign = 0; // the riders' height order at the pass before
    Thing things[MAX_SEEN];
    int count = 0;
    int32_t screenW = 800;
    bool over = false;
};

// Looks at the riders and at the obstacles on the screen that can still reach them, before
// the computer's pass `pass` (counted from 0).
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
RiderInput keysFor(const Plan& plan, const RiderState& body, int offset);

// The river as the computer expects it from now on: its own rider and the other one, and the
// obstacles with the passes (from now) in which each can reach the riders' row.
struct Threat {
    int16_t first, last;
    float centre, reach;
    int16_t damage;
    uint8_t layerMask;
};
struct Situation {
    uint32_t now = EPOCH;
    int self = 0;
    int32_t screenW = 800;
    RiderState me, other;
    int32_t prevSign = 0;
    bool over = false;
    // The other rider's way for as long as the two do not meet: after its keys, and after
    // its move, at each pass from now.
    RiderState otherKeyed[HORIZON], otherMoved[HORIZON];
    Threat threats[MAX_SEEN];
    int count = 0;
};

// From a look `DELAY` passes old and the keys pressed since: the situation now.
void foresee(const View& seen, int self, const RiderInput* pressedSince, Situation& now);
// The plan with the best outcome over the horizon; `last` is the plan followed until now.
Plan choose(const Situation& now, const Plan* last);

}  // namespace classic
