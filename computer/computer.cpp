#include "computer/computer.h"

#include "computer/model.h"

using namespace computer;

// The last few looks and the keys pressed since the oldest of them.
struct ComputerRider::Mind {
    int self = 0;
    const Skill* skill = nullptr;
    uint64_t seed = 0;
    Dice dice{0};
    int32_t pass = 0;
    View looks[MAX_DELAY + 1];
    RiderInput pressed[MAX_DELAY + 1];
    Plan plan;
    bool following = false;
    Situation situation;
};

ComputerRider::ComputerRider(int index, int level, uint32_t seed) : mind(new Mind)
{
    Mind& m = *mind;
    m.self = index == 0 ? 0 : 1;
    m.skill = &skillOf(level);
    // Each rider and level slips its own way, the same way every time the game is played.
    m.seed = (static_cast<uint64_t>(seed) << 8) ^ static_cast<uint64_t>(m.self * 16 + level);
    m.dice.state = m.seed;
}

ComputerRider::~ComputerRider() = default;

RiderInput ComputerRider::decide(const World& world)
{
    Mind& m = *mind;
    const Skill& skill = *m.skill;
    const int32_t pass = m.pass++;
    const int slots = MAX_DELAY + 1;
    look(world, m.self, pass, skill, m.seed, m.looks[pass % slots]);
    // A wandering mind keeps to its plan without a fresh thought; drawn every pass alike.
    const bool lapse = static_cast<int>(m.dice.next() >> 58) < skill.lapses;
    RiderInput keys;
    if (pass >= skill.delay && !m.looks[pass % slots].over) {
        const int32_t from = pass - skill.delay;
        RiderInput since[MAX_DELAY];
        for (int k = 0; k < skill.delay; ++k)
            since[k] = m.pressed[(from + k) % slots];
        foresee(m.looks[from % slots], m.self, skill, since, m.situation);
        if (m.following) {
            // The plan followed so far, one pass further on.
            for (int16_t* at : {&m.plan.pressFrom, &m.plan.releaseAt, &m.plan.againFrom, &m.plan.againUntil})
                *at = static_cast<int16_t>(*at > 0 ? *at - 1 : 0);
        }
        if (!m.following || !lapse)
            m.plan = choose(m.situation, m.following ? &m.plan : nullptr);
        m.following = true;
        keys = keysFor(m.plan, m.situation.me, 0);
    }
    m.pressed[pass % slots] = keys;
    return keys;
}
