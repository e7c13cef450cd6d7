// The computer as it was before levels (see classic.h).
#include "classic/classic.h"

#include "classic/model.h"

using namespace classic;

// The last few looks and the keys pressed since the oldest of them.
struct ClassicRider::Mind {
    int self = 0;
    int32_t pass = 0;
    View looks[DELAY + 1];
    RiderInput pressed[DELAY + 1];
    Plan plan;
    bool following = false;
    Situation situation;
};

ClassicRider::ClassicRider(int index) : mind(new Mind)
{
    mind->self = index == 0 ? 0 : 1;
}

ClassicRider::~ClassicRider() = default;

RiderInput ClassicRider::decide(const World& world)
{
    Mind& m = *mind;
    const int32_t pass = m.pass++;
    const int slots = DELAY + 1;
    look(world, m.self, pass, m.looks[pass % slots]);
    RiderInput keys;
    if (pass >= DELAY && !m.looks[pass % slots].over) {
        const int32_t from = pass - DELAY;
        RiderInput since[DELAY];
        for (int k = 0; k < DELAY; ++k)
            since[k] = m.pressed[(from + k) % slots];
        foresee(m.looks[from % slots], m.self, since, m.situation);
        if (m.following) {
            // The plan followed so far, one pass further on.
            m.plan.pressFrom = static_cast<int16_t>(m.plan.pressFrom > 0 ? m.plan.pressFrom - 1 : 0);
            m.plan.releaseAt = static_cast<int16_t>(m.plan.releaseAt > 0 ? m.plan.releaseAt - 1 : 0);
        }
        m.plan = choose(m.situation, m.following ? &m.plan : nullptr);
        m.following = true;
        keys = keysFor(m.plan, m.situation.me, 0);
    }
    m.pressed[pass % slots] = keys;
    return keys;
}
