// The computer's fairness probe: a game of the computer against itself, and beside it a
// shadow computer riding Berto in the mirror image of that game (left and right swapped,
// Rudko and Berto swapped). A fair computer presses the mirror image of Rudko's keys; the
// first passes where it does not are printed with what the two saw.
#include <cmath>
#include <cstdio>
#include <memory>

#include "classic/session.h"
#include "classic/game.h"
#include "computer/computer.h"
#include "simulation/feed.h"
#include "simulation/world.h"

World mirrored(const World& w)
{
    World m = w;
    const float width = 800.0f;
    for (int i = 0; i < 2; ++i) {
        RiderState r = w.riders[1 - i];
        r.x = width - r.x;
        r.velocity = -r.velocity;
        r.acceleration = -r.acceleration;
        r.index = static_cast<uint8_t>(i);
        m.riders[i] = r;
    }
    m.prevRiderHeightSign = -w.prevRiderHeightSign;
    for (auto& lane : m.lanes)
        for (ObstacleState& o : lane) {
            o.x = width - o.x - static_cast<float>(o.width);
            std::swap(o.hitRider[0], o.hitRider[1]);
        }
    return m;
}

namespace {

class Probe : public PassFeed {
public:
    Probe(int level, uint32_t seed) : seed(seed), rudko(0, level, seed), berto(1, level, seed), shadow(1, level, seed) {}
    void begin(GameStart& start) override
    {
        start = GameStart();
        start.seed = seed;
    }
    void started(const World& world) override { seen = &world; }
    bool gather(uint32_t pass, bool, PassInput& input) override
    {
        input.riders[0] = rudko.decide(*seen);
        input.riders[1] = berto.decide(*seen);
        const RiderInput s = shadow.decide(mirrored(*seen));
        const RiderInput& r = input.riders[0];
        if ((s.left != r.right || s.right != r.left || s.action != r.action) && shown < 12) {
            ++shown;
            ++parted;
            const RiderState& a = seen->riders[0];
            const RiderState& b = seen->riders[1];
            std::printf("pass %u: rudko %d%d%d shadow (mirrored) %d%d%d | rudko x %.2f v %.2f h %.0f st %d | berto x %.2f v %.2f h %.0f st %d\n",
                        pass, r.left, r.right, r.action, s.right, s.left, s.action, a.x, a.velocity, a.height,
                        a.state, b.x, b.velocity, b.height, b.state);
        } else if (s.left != r.right || s.right != r.left || s.action != r.action) {
            ++parted;
        }
        ++passes;
        return true;
    }
    uint32_t seed;
    ComputerRider rudko, berto, shadow;
    const World* seen = nullptr;
    int shown = 0;
    long parted = 0, passes = 0;
};

}  // namespace

int mirrorProbe(int level, uint32_t seed)
{
    Probe probe(level, seed);
    playHeadless(defaultGameSetup(), probe, 3000);
    std::printf("%ld of %ld passes parted\n", probe.parted, probe.passes);
    return 0;
}
