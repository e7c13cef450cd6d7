#pragma once
// Inside the computer rider only: what it sees of the river, what it makes of that, and the
// plans it tries out on copies of the riders under the game's own rules (riders/rules.h).
#include <cstdint>

#include "input/input.h"
#include "riders/rules.h"

struct World;

namespace computer {

const int MAX_SEEN = 24;

// The computer counts time in its own passes, which the rules see `EPOCH` passes on: a press
// it sees taken before its first look still lies after zero. Older presses all act alike.
const uint32_t EPOCH = 1000;

const int MAX_DELAY = 8; // most passes between a look and the keys it leads to (400 ms)
const int HORIZON = 32;  // most passes a plan is tried out for

// What a level's rider can do, made of what a person lacks rather than of dice.
struct Skill {
    int delay;       // passes between a look and the keys it leads to: the reaction time
    int horizon;     // passes a plan is tried out for: how far ahead it thinks
    float misjudge;  // pixels: the most an obstacle's place across the river is misjudged by
    float mistime;   // passes: the most an obstacle's arrival is misjudged by
    float appetite;  // health taken from the other rider, against its own
    float reach;     // pixels: how near the other rider must be to go for it
    int lapses;      // of 64 passes, how many it keeps to its plan without thinking again
};

// The skill of level 1 (a beginner) to 5 (an expert).
const Skill& skillOf(int level);

// The computer's own small generator, for its mistakes; it never touches the game's.
struct Dice {
    uint64_t state;
    uint64_t next();
    // -1 to 1, the same for the same key all game: a mistake about one thing stays made.
    static float about(uint64_t seed, uint64_t key);
};

// An obstacle on the screen. `touched` is set once it has touched the computer's rider.
struct Thing {
    float x, y, speed;
    int16_t late; // passes it is taken to arrive late (early when negative)
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
// the computer's pass `pass` (counted from 0). Each obstacle is seen up to the skill's
// `misjudge` pixels off its place and `mistime` passes off its arrival, the same way all its
// way down (`seed` picks the mistakes).
void look(const World& world, int self, int32_t pass, const Skill& skill, uint64_t seed,
          View& view);

// A plan from now on: steer towards `target`, hold the action key from pass `pressFrom` up to
// (not including) pass `releaseAt`, and again from `againFrom` up to `againUntil` (a rider
// under water comes up, then jumps), all counted from now.
struct Plan {
    float target = 400;
    int16_t pressFrom = 0, releaseAt = 0;
    int16_t againFrom = 0, againUntil = 0;
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
    int horizon = HORIZON;
    float appetite = 0.6f, reach = 200.0f;
    float under = 1.0f; // of the appetite, for a rider under water not just landed on
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

// From a look `skill.delay` passes old and the keys pressed since: the situation now.
void foresee(const View& seen, int self, const Skill& skill, const RiderInput* pressedSince,
             Situation& now);
// The plan with the best outcome over the horizon; `last` is the plan followed until now.
Plan choose(const Situation& now, const Plan* last);

}  // namespace computer
