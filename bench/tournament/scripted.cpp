// Scripted riders. The human-like ones act on what they saw `lag` passes before (200 to
// 300 ms), misjudge each obstacle's place by a few pixels and its arrival by a pass, and
// each has a way of playing: dodge and jump, dive, chase and land, flee, hop. The one-trick
// ones do one thing all game.
#include <algorithm>
#include <cmath>
#include <deque>
#include <random>

#include "players.h"
#include "simulation/world.h"

namespace {

struct Seen {
    float x, y, speed;
    int width, height, damage, mask;
};

struct Sight {
    float myX, myV, otherX, otherV, myHeight, otherHeight;
    uint8_t myState, otherState;
    std::vector<Seen> things;
};

enum Style { DODGE, DIVE, CHASE, FLEE, HOP, STAY_DIVED, HUG_BANK, ENDLESS_HOP, ONLY_CHASE, DUCK };

struct Traits {
    Style style;
    int lag;        // passes between seeing and acting
    float misjudge; // pixels
    int mistime;    // passes
};

// A scripted rider: sees, waits `lag` passes, acts.
class Scripted : public Player {
public:
    Scripted(Traits traits, int index, uint32_t seed)
        : t(traits), self(index), random(seed * 2654435761u + static_cast<uint32_t>(index) * 97u + traits.style),
          mistakes(seed * 0x9e3779b97f4a7c15ull + static_cast<uint64_t>(index))
    {
    }

    RiderInput decide(const World& world) override
    {
        past.push_back(see(world));
        if (static_cast<int>(past.size()) > t.lag + 1)
            past.pop_front();
        const Sight& s = past.front();
        RiderInput keys = act(s, world.riders[self].actionHeld);
        return keys;
    }

private:
    Traits t;
    int self;
    std::mt19937 random;
    uint64_t mistakes;
    std::deque<Sight> past;
    int holding = 0;   // passes the action key has been held by plan
    int holdFor = 0;   // passes to hold it this time; 0 = not holding
    int nextHold = 6;  // passes the next jump will be held
    bool diving = false;
    // -1 to 1: the same mistake about the same obstacle all its way down.
    float errorOf(const ObstacleState& o, uint64_t salt) const
    {
        uint64_t z = (static_cast<uint64_t>(static_cast<int64_t>(o.x * 8.0f)) << 20) ^
                     (static_cast<uint64_t>(o.width) << 4) ^ (salt << 60) ^ (mistakes << 1);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        z ^= z >> 31;
        return static_cast<float>(static_cast<double>(z >> 11) / 4503599627370496.0 - 1.0);
    }
    Sight see(const World& w)
    {
        Sight s;
        const RiderState& me = w.riders[self];
        const RiderState& other = w.riders[1 - self];
        s.myX = me.x, s.myV = me.velocity, s.myHeight = me.height, s.myState = me.state;
        s.otherX = other.x, s.otherV = other.velocity, s.otherHeight = other.height;
        s.otherState = other.state;
        for (int k = 0; k < 4; ++k)
            for (const ObstacleState& o : w.lanes[k]) {
                if (o.y + o.height <= 0.0f || o.y >= 550.0f || o.hitRider[self])
                    continue;
                Seen seen{o.x + t.misjudge * errorOf(o, 1u), o.y, w.riverSpeed + o.ownSpeed,
                          o.width, o.height, o.damage, o.layerMask};
                // Misjudged arrival: seen as if it were a few passes further up or down.
                seen.y += seen.speed * std::round(t.mistime * errorOf(o, 2u));
                s.things.push_back(seen);
            }
        return s;
    }

    // Passes from the look until `o` reaches the riders' row, and until it has left it.
    static float arrives(const Seen& o) { return (450.0f - (o.y + o.height)) / std::max(o.speed, 0.5f); }
    static float leaves(const Seen& o) { return (550.0f - o.y) / std::max(o.speed, 0.5f); }
    static bool across(const Seen& o, float x, float margin)
    {
        return std::fabs(o.x + o.width / 2.0f - x) < o.width / 2.0f + 25.0f + margin;
    }

    // Steer to `target` braking on the way, as a person does: full on, then let go early.
    static void steer(RiderInput& keys, float x, float v, float target)
    {
        const float ahead = x + v * std::fabs(v) / 1.0f; // where it coasts to, roughly
        if (ahead < target - 12.0f)
            keys.right = true;
        else if (ahead > target + 12.0f)
            keys.left = true;
    }

    RiderInput act(const Sight& s, bool held)
    {
        RiderInput keys;
        // Where the rider will be when the keys take effect: a person allows for its drift.
        const float x = s.myX + s.myV * t.lag;
        float target = 400.0f;
        const float dx = s.otherX - s.myX;
        switch (t.style) {
        case CHASE:
        case ONLY_CHASE:
            target = s.otherX + s.otherV * 4.0f;
            break;
        case FLEE:
            target = s.otherX < 400.0f ? 560.0f : 240.0f;
            break;
        case HUG_BANK:
            target = self == 0 ? 140.0f : 660.0f;
            break;
        default:
            target = s.myX; // stays where it is unless something comes
            if (target < 200.0f || target > 600.0f)
                target = 400.0f;
        }
        // The action key: jumps, dives and hops under way run their course.
        bool jumpNow = false, diveNow = false;
        bool sidestep = false;
        float sideTarget = target;
        if (t.style != ONLY_CHASE && t.style != ENDLESS_HOP && t.style != HUG_BANK) {
            // A bridge over the row while a jump would be in the air rules jumping out.
            // When a bridge is over the row: jumping into that is no way out.
            float bridgeFrom = 1e9f, bridgeTo = -1e9f;
            for (const Seen& o : s.things)
                if (o.mask == 4 && leaves(o) - t.lag > -1.0f) {
                    bridgeFrom = std::min(bridgeFrom, arrives(o) - t.lag - 1.0f);
                    bridgeTo = std::max(bridgeTo, leaves(o) - t.lag + 1.0f);
                }
            // A jump pressed now is in the air from the release till about 1.5 (hold + 10) later.
            const float up = static_cast<float>(nextHold), down = up + 1.5f * (nextHold + 10);
            const bool bridgeSoon = bridgeFrom < down && bridgeTo > up;
            float nearest = 1e9f;
            for (const Seen& o : s.things) {
                if (o.damage <= 0 || o.mask == 4)
                    continue;
                const float a = arrives(o) - t.lag, l = leaves(o) - t.lag;
                if (l < 0.0f || a > 34.0f || !across(o, x, 6.0f) || a > nearest)
                    continue;
                nearest = a; // the first to come decides
                const bool rock = o.mask == 3;
                const float left = o.x - 25.0f - 15.0f, right = o.x + o.width + 25.0f + 15.0f;
                const bool leftOk = left > 135.0f, rightOk = right < 665.0f;
                const float way = leftOk && (!rightOk || x - left < right - x) ? left : right;
                // Moving d pixels from rest takes about 2 sqrt(d) passes, braking included.
                const float need = 2.0f * std::sqrt(std::fabs(way - x)) + 2.0f;
                const bool dived = (s.myState & 1) != 0;
                if (t.style == STAY_DIVED) {
                    sidestep = true, sideTarget = way;
                } else if (!rock && (t.style == DIVE || bridgeSoon) && (a >= 20.0f || dived || diving)) {
                    diveNow = a < 26.0f || dived || diving; // under it, and up once it has passed
                } else if (rock && (a > need || bridgeSoon || dived)) {
                    sidestep = true, sideTarget = way;
                } else if (a <= nextHold + 2 && !bridgeSoon) {
                    jumpNow = true;
                } else if (rock) {
                    sidestep = true, sideTarget = way;
                }
            }
            if (bridgeSoon && !(s.myState & 4))
                jumpNow = false;
        }
        if (sidestep)
            target = sideTarget;
        target = std::min(670.0f, std::max(130.0f, target));
        if (t.style == FLEE && std::fabs(dx) < 90.0f && !jumpNow && !diveNow)
            jumpNow = std::uniform_int_distribution<int>(0, 5)(random) == 0;
        if ((t.style == CHASE || t.style == ONLY_CHASE) && std::fabs(dx + s.otherV * 6.0f) < 70.0f &&
            s.otherState != 4 && s.myState != 4)
            jumpNow = true; // to land on it
        if (t.style == HOP || t.style == ENDLESS_HOP)
            jumpNow = true;
        if (t.style == DUCK && std::fabs(dx) < 140.0f && !jumpNow)
            diveNow = true; // under water whenever the other rider comes near
        if (!(s.myState & 4))
            steer(keys, x, s.myV, target);

        if (t.style == STAY_DIVED) {
            keys.action = true;
            return keys;
        }
        if (diving) {
            // Down a whole second before it goes under; up again once the reason has passed.
            ++holding;
            keys.action = holding < 21 || diveNow;
            diving = keys.action;
            return keys;
        }
        if (holdFor > 0) {
            // A jump under way: held for its count, then let go.
            ++holding;
            keys.action = holding < holdFor;
            if (!keys.action)
                holdFor = 0;
            return keys;
        }
        if (diveNow && !(s.myState & 4)) {
            diving = true;
            holding = 1;
            keys.action = true;
            return keys;
        }
        if (held && !diveNow) {
            keys.action = false;
            return keys;
        }
        if (jumpNow && !(s.myState & 4)) {
            holding = 1;
            holdFor = nextHold;
            nextHold = 5 + std::uniform_int_distribution<int>(0, 3)(random);
            keys.action = true;
        }
        return keys;
    }
};

// Presses nothing, or random keys held for 50 to 1500 ms each.
class Idle : public Player {
public:
    RiderInput decide(const World&) override { return {}; }
};
class Random : public Player {
public:
    explicit Random(uint32_t seed) : random(seed * 7919u + 13u) {}
    RiderInput decide(const World&) override
    {
        if (holdFor-- == 0) {
            holdFor = std::uniform_int_distribution<int>(0, 29)(random);
            const int pick = std::uniform_int_distribution<int>(0, 3)(random);
            keys = {pick == 0, pick == 1, pick == 2};
        }
        return keys;
    }

private:
    std::mt19937 random;
    int holdFor = 0;
    RiderInput keys;
};

struct Kind {
    const char* name;
    Traits traits;
    const char* what;
};

const Kind kinds[] = {
    {"dodger", {DODGE, 6, 4.0f, 1}, "dodges rocks, jumps logs; reacts in 300 ms"},
    {"diver", {DIVE, 5, 4.0f, 1}, "dodges rocks, dives under logs and bridges; 250 ms"},
    {"chaser", {CHASE, 4, 3.0f, 1}, "chases the other rider and jumps to land on it, dodging; 200 ms"},
    {"fleer", {FLEE, 5, 4.0f, 1}, "keeps away from the other rider, dodging; 250 ms"},
    {"hopper", {HOP, 5, 4.0f, 1}, "hops all the time, steering round rocks; 250 ms"},
    {"stay-dived", {STAY_DIVED, 4, 3.0f, 1}, "dives and stays under, steering round rocks"},
    {"bank-hugger", {HUG_BANK, 4, 0.0f, 0}, "sits by its own bank"},
    {"endless-hop", {ENDLESS_HOP, 4, 0.0f, 0}, "hops without end where it is"},
    {"only-chase", {ONLY_CHASE, 4, 0.0f, 0}, "chases and jumps at the other rider, nothing else"},
    {"ducker", {DUCK, 4, 3.0f, 1}, "dodges as the dodger, and dives whenever the other rider comes near"},
};

}  // namespace

std::unique_ptr<Player> makeTrickster(const std::string& name, int index, uint32_t seed);
std::string describeTrickster(const std::string& name);

std::unique_ptr<Player> makeScripted(const std::string& name, int index, uint32_t seed)
{
    if (name == "idle")
        return std::unique_ptr<Player>(new Idle);
    if (name == "random")
        return std::unique_ptr<Player>(new Random(seed));
    for (const Kind& k : kinds)
        if (name == k.name)
            return std::unique_ptr<Player>(new Scripted(k.traits, index, seed));
    return makeTrickster(name, index, seed);
}

const std::vector<std::string>& humanNames()
{
    static const std::vector<std::string> names = {"dodger", "diver", "chaser", "fleer", "hopper", "careful"};
    return names;
}

const std::vector<std::string>& trickNames()
{
    static const std::vector<std::string> names = {"sunk", "bank-sunk", "lurker", "pogo", "near-hop",
                                                   "pursuer", "glutton", "idle", "masher"};
    return names;
}

std::string describe(const std::string& name)
{
    for (const Kind& k : kinds)
        if (name == k.name)
            return k.what;
    if (name == "classic")
        return "the computer as it was before levels";
    if (name.compare(0, 5, "level") == 0)
        return "the computer at " + name;
    if (name == "idle")
        return "presses nothing";
    if (name == "random")
        return "random keys held 50-1500 ms";
    return describeTrickster(name);
}
