// Riders that play one trick all game, written apart from the levels they rate (the levels
// were tuned against other seeds): each sees the river 250 ms late, misjudges an obstacle's
// place by a few pixels, and steers round what it cannot take. Beside them a careful rider:
// it dodges everything and attacks nobody, the plain player a beginner loses to.
#include <algorithm>
#include <cmath>
#include <deque>
#include <random>

#include "players.h"
#include "simulation/world.h"

namespace {

enum Trick { SUNK, BANK_SUNK, LURKER, POGO, NEAR_HOP, PURSUER, GLUTTON, MASHER, CAREFUL };

struct Thing {
    float x, y, speed; // x: the centre across the river, as misjudged
    int width, height, damage, mask;
};

struct Look {
    RiderState me, other;
    std::vector<Thing> things;
};

const float LEFT = 125.0f, RIGHT = 675.0f;

class Trickster : public Player {
public:
    Trickster(Trick trick, int index, uint32_t seed)
        : trick(trick), self(index), random(seed * 40503u + static_cast<uint32_t>(index) * 7u + trick),
          salt(seed * 0xd1b54a32d192ed03ull + static_cast<uint64_t>(index) + 1)
    {
    }

    RiderInput decide(const World& world) override
    {
        looks.push_back(see(world));
        if (looks.size() > LAG + 1)
            looks.pop_front();
        const Look& s = looks.front();
        // Where it will be when these keys act: allowing for its drift, as a person does.
        const RiderState& now = world.riders[self];
        x = s.me.x + s.me.velocity * LAG;
        RiderInput keys;
        switch (trick) {
        case SUNK:
            keys.action = true;
            steer(keys, s, dodge(s, x, std::min(600.0f, std::max(200.0f, s.me.x)), STATE_SUBMERGED));
            break;
        case BANK_SUNK:
            keys.action = true;
            steer(keys, s, dodge(s, x, s.me.x < 400.0f ? 150.0f : 650.0f, STATE_SUBMERGED));
            break;
        case LURKER: {
            const float dx = std::fabs(s.other.x - s.me.x);
            under = dx < 150.0f || (under && dx < 230.0f);
            keys.action = under;
            steer(keys, s, dodge(s, x, self == 0 ? 150.0f : 650.0f, under ? STATE_SUBMERGED : STATE_SURFACE));
            break;
        }
        case POGO:
            hop(keys, now, true);
            steer(keys, s, dodge(s, x, std::min(600.0f, std::max(200.0f, s.me.x)), STATE_SURFACE));
            break;
        case NEAR_HOP:
            hop(keys, now, std::fabs(s.other.x - s.me.x) < 130.0f);
            steer(keys, s, dodge(s, x, std::min(600.0f, std::max(200.0f, s.me.x)), STATE_SURFACE));
            break;
        case PURSUER:
            push(keys, s.other.x - s.me.x);
            break;
        case GLUTTON:
            if (s.me.mass < 150.0f)
                steer(keys, s, dodge(s, x, burger(s), STATE_SURFACE));
            else
                push(keys, s.other.x - s.me.x);
            break;
        case MASHER:
            for (bool* key : {&mash.left, &mash.right, &mash.action})
                if (std::uniform_int_distribution<int>(0, 9)(random) == 0)
                    *key = !*key;
            keys = mash;
            break;
        case CAREFUL:
            careful(keys, s, now);
            break;
        }
        return keys;
    }

private:
    static const size_t LAG = 5;
    Trick trick;
    int self;
    std::mt19937 random;
    uint64_t salt;
    std::deque<Look> looks;
    float x = 400.0f;
    bool under = false;
    int charge = 0, holding = 0; // a jump under way: passes to charge, passes charged
    RiderInput mash;

    // -1 to 1, the same for one obstacle all its way down.
    float errorOf(const ObstacleState& o) const
    {
        uint64_t z = (static_cast<uint64_t>(static_cast<int64_t>(o.x * 4.0f)) << 16) ^
                     static_cast<uint64_t>(o.width) ^ salt;
        z = (z ^ (z >> 31)) * 0x7fb5d329728ea185ull;
        z = (z ^ (z >> 27)) * 0x81dadef4bc2dd44dull;
        z ^= z >> 33;
        return static_cast<float>(static_cast<double>(z >> 11) / 4503599627370496.0 - 1.0);
    }

    Look see(const World& w) const
    {
        Look s;
        s.me = w.riders[self];
        s.other = w.riders[1 - self];
        for (int k = 0; k < 4; ++k)
            for (const ObstacleState& o : w.lanes[k])
                if (o.y + o.height > 0.0f && o.y < 550.0f && !o.hitRider[self])
                    s.things.push_back({o.x + o.width / 2.0f + 5.0f * errorOf(o), o.y, w.riverSpeed + o.ownSpeed,
                                        o.width, o.height, o.damage, o.layerMask});
        return s;
    }

    // Passes from now (the keys' pass) until `t` reaches the riders' row, and until it has left.
    static float arrives(const Thing& t) { return (450.0f - (t.y + t.height)) / std::max(t.speed, 0.5f) - LAG; }
    static float leaves(const Thing& t) { return (550.0f - t.y) / std::max(t.speed, 0.5f) - LAG; }

    // The place nearest `want` that nothing hurting `layer` comes over before it is reached.
    float dodge(const Look& s, float from, float want, uint8_t layer) const
    {
        float best = want, bestCost = 1e9f;
        for (float c = LEFT + 15.0f; c <= RIGHT - 15.0f; c += 10.0f) {
            float cost = 0.02f * std::fabs(c - want);
            const float travel = 2.0f * std::sqrt(std::fabs(c - from)) + 2.0f;
            for (const Thing& t : s.things) {
                if (t.damage <= 0 || !(t.mask & layer) || leaves(t) < 0.0f || arrives(t) > 40.0f)
                    continue;
                const float half = t.width / 2.0f + 25.0f + 8.0f;
                const float lo = t.x - half, hi = t.x + half;
                if (c > lo && c < hi)
                    cost += 10.0f * t.damage;
                else if (arrives(t) < travel && std::min(c, from) < hi && std::max(c, from) > lo)
                    cost += 5.0f * t.damage; // it would cross it on the way
            }
            if (cost < bestCost)
                bestCost = cost, best = c;
        }
        return best;
    }

    // Towards `target`, letting go early enough to coast to it.
    void steer(RiderInput& keys, const Look& s, float target) const
    {
        const float v = s.me.velocity;
        const float ahead = x + v * std::fabs(v) * s.me.mass / 100.0f;
        keys.right = ahead < target - 10.0f;
        keys.left = ahead > target + 10.0f;
    }

    static void push(RiderInput& keys, float towards)
    {
        keys.right = towards > 0.0f;
        keys.left = towards < 0.0f;
    }

    // Jumps one after another while `wanted`, each charged 3 to 12 passes.
    void hop(RiderInput& keys, const RiderState& now, bool wanted)
    {
        if (charge > 0) {
            keys.action = ++holding < charge;
            if (!keys.action)
                charge = 0;
        } else if (wanted && !(now.state & STATE_AIRBORNE) && !now.actionHeld) {
            charge = std::uniform_int_distribution<int>(3, 12)(random);
            holding = 0;
            keys.action = true;
        }
    }

    // The nearest burger it can still reach, or the middle.
    float burger(const Look& s) const
    {
        float best = 400.0f, soonest = 1e9f;
        for (const Thing& t : s.things) {
            const float a = arrives(t);
            if (t.damage == 0 && a > 2.0f * std::sqrt(std::fabs(t.x - x)) && a < soonest)
                soonest = a, best = t.x;
        }
        return best;
    }

    // Steers round rocks and logs; jumps a log it cannot steer round, or dives under it when a
    // bridge would meet the jump; keeps off the banks and away from the other rider.
    void careful(RiderInput& keys, const Look& s, const RiderState& now)
    {
        const float away = s.other.x < s.me.x ? std::min(560.0f, s.me.x + 80.0f) : std::max(240.0f, s.me.x - 80.0f);
        const float want = std::fabs(s.other.x - s.me.x) < 120.0f ? away : std::min(560.0f, std::max(240.0f, s.me.x));
        const float target = dodge(s, x, want, STATE_SURFACE);
        steer(keys, s, target);
        if (charge > 0 || under) {
            if (under) {
                keys.action = ++holding < 21 || trouble(s, target, 2, 30.0f) < 40.0f;
                under = keys.action;
            } else {
                hop(keys, now, false);
            }
            return;
        }
        const float log = trouble(s, target, 2, 40.0f);
        if (log > 30.0f || now.actionHeld || (now.state & STATE_AIRBORNE))
            return;
        bool bridge = false;
        for (const Thing& t : s.things)
            bridge = bridge || (t.mask == 4 && arrives(t) < log + 25.0f && leaves(t) > log);
        if (bridge && log > 20.0f) {
            under = true, holding = 0, keys.action = true;
        } else if (!bridge && log <= 7.0f) {
            charge = 6, holding = 0, keys.action = true;
        }
    }

    // When the first obstacle of layer `mask` that would hurt at `at` arrives (passes), or 1e9.
    float trouble(const Look& s, float at, int mask, float within) const
    {
        float first = 1e9f;
        for (const Thing& t : s.things)
            if (t.damage > 0 && t.mask == mask && leaves(t) >= 0.0f && arrives(t) < within &&
                std::fabs(t.x - at) < t.width / 2.0f + 25.0f + 4.0f)
                first = std::min(first, std::max(0.0f, arrives(t)));
        return first;
    }
};

struct TrickKind {
    const char* name;
    Trick trick;
    const char* what;
};

const TrickKind trickKinds[] = {
    {"sunk", SUNK, "dives at once and stays under, steering round rocks"},
    {"bank-sunk", BANK_SUNK, "dives at once and stays under at the nearer bank, steering round rocks"},
    {"lurker", LURKER, "sits at its bank and dives while the other rider is near"},
    {"pogo", POGO, "hops without end, steering round rocks"},
    {"near-hop", NEAR_HOP, "hops whenever the other rider is near, steering round rocks"},
    {"pursuer", PURSUER, "steers at the other rider at full speed, nothing else"},
    {"glutton", GLUTTON, "eats burgers till it is heaviest, then rams the other rider at full speed"},
    {"masher", MASHER, "flips each key now and then at random"},
    {"careful", CAREFUL, "dodges rocks and logs, keeps off the banks, attacks nobody; 250 ms"},
};

}  // namespace

std::unique_ptr<Player> makeTrickster(const std::string& name, int index, uint32_t seed)
{
    for (const TrickKind& k : trickKinds)
        if (name == k.name)
            return std::unique_ptr<Player>(new Trickster(k.trick, index, seed));
    return nullptr;
}

std::string describeTrickster(const std::string& name)
{
    for (const TrickKind& k : trickKinds)
        if (name == k.name)
            return k.what;
    return "";
}
