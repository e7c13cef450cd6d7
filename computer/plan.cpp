#include <algorithm>
#include <cmath>

#include "computer/model.h"

namespace computer {

// What the computer cares about, in health points.
const float FADE = 0.012f;         // per pass: the further ahead, the less sure
const float STICK = 0.3f;          // for keeping to the plan it follows
const float AIRTIME = 0.1f;        // per pass in the air, where nothing new can be dodged
const float UNDERWATER = 0.3f;     // of the appetite, for a rider under water not just landed on
const int LANDING = 12;            // passes after a landing whose hurts count in full

// What the mass makes of the drag, as the rules work it out.
static double dragOf(const RiderState& body)
{
    return 50.0 / body.mass;
}

// What a plan listens for: whether the riders met, by a bump or a landing. Like every sink a
// plan uses, it draws no random number.
struct Meeting {
    bool met = false, landed = false;
    void play(SoundEvent event)
    {
        met = met || event == SND_BUMP || event == SND_STOMP;
        landed = landed || event == SND_STOMP;
    }
    void stop(SoundEvent) {}
};

// A rider's keys, drag and velocity: its part of a pass before the collision.
template <class Sink>
static void handle(RiderState& body, const RiderInput& keys, uint32_t now, bool over, Sink& cues)
{
    rules::handleInput(body, keys, now, over, cues);
    rules::applyDrag(body);
    rules::integrateVelocity(body);
}

// Towards the target, braking in time to stop on it; no keys in the air. The speed wanted
// at distance d is sqrt(2 b d) for a braking of b; compared squared, to spare the root.
static RiderInput steerTowards(const RiderState& body, double drag, float target)
{
    RiderInput keys;
    if (body.state & STATE_AIRBORNE)
        return keys;
    const float margin = static_cast<float>(drag);       // half a push
    const float reach = static_cast<float>(4.2 * drag);  // 2 b, braking at 0.7 of push and drag
    // Worked out as if the target were to the right, then mirrored back.
    const bool mirrored = target < body.x;
    const float distance = mirrored ? body.x - target : target - body.x;
    const float v = mirrored ? -body.velocity : body.velocity;
    if (distance < 6.0f && std::fabs(v) < 1.5f)
        return keys;
    // Towards the target when slower than wanted, away when faster.
    const float under = v + margin, over = v - margin;
    const bool towards = under < 0.0f || under * under < reach * distance;
    const bool away = !towards && over > 0.0f && over * over > reach * distance;
    keys.right = mirrored ? away : towards;
    keys.left = mirrored ? towards : away;
    return keys;
}

// `drag` is the body's, kept by the caller with its mass.
static RiderInput keysFor(const Plan& plan, const RiderState& body, double drag, int offset)
{
    RiderInput keys = steerTowards(body, drag, plan.target);
    keys.action = (offset >= plan.pressFrom && offset < plan.releaseAt) ||
                  (offset >= plan.againFrom && offset < plan.againUntil);
    return keys;
}

RiderInput keysFor(const Plan& plan, const RiderState& body, int offset)
{
    return keysFor(plan, body, dragOf(body), offset);
}

// Nobody knows what the other rider will press: it is taken to hold its action key as it
// does and to steer no more.
static RiderInput guessOther(const RiderState& other)
{
    RiderInput keys;
    keys.action = other.actionHeld;
    return keys;
}

void foresee(const View& seen, int self, const Skill& skill, const RiderInput* pressedSince,
             Situation& now)
{
    const int delay = skill.delay;
    now.self = self;
    now.horizon = skill.horizon;
    now.appetite = skill.appetite;
    now.reach = skill.reach;
    now.screenW = seen.screenW;
    RiderState riders[2] = {seen.riders[0], seen.riders[1]};
    now.prevSign = seen.prevSign;
    now.over = seen.over;
    uint8_t winner = 0;
    Unheard unheard;
    for (int k = 0; k < delay; ++k) {
        RiderInput inputs[2];
        inputs[self] = pressedSince[k];
        inputs[1 - self] = guessOther(riders[1 - self]);
        Contest contest{seen.clock + k, now.over, winner, now.prevSign, seen.screenW};
        rules::stepRiders(riders[0], riders[1], inputs, contest, unheard);
    }
    now.me = riders[self];
    now.other = riders[1 - self];
    now.now = seen.clock + static_cast<uint32_t>(delay);
    // A rider under water can only be pushed about, and where it steers down there nobody can
    // tell: a fight beside it is a slow trade with the rocks. Landing on it from above is the
    // one blow that tells, and a dive onto it takes a second to come down: every level thinks
    // that far ahead for it, and counts what a landing takes in full.
    now.under = 1.0f;
    if (now.other.state & STATE_SUBMERGED) {
        now.under = UNDERWATER;
        now.horizon = HORIZON;
    }
    RiderState other = now.other;
    bool over = now.over;
    int32_t alone = 0; // no one to meet
    for (int i = 0; i < HORIZON; ++i) {
        Contest contest{now.now + i, over, winner, alone, now.screenW};
        handle(other, guessOther(other), contest.now, over, unheard);
        now.otherKeyed[i] = other;
        rules::move(other, contest, unheard);
        now.otherMoved[i] = other;
    }

    // A thing seen before pass P is, after pass P + n, n + 1 moves further down.
    now.count = 0;
    for (int j = 0; j < seen.count; ++j) {
        const Thing& t = seen.things[j];
        if (t.touched || t.speed <= 0.01f)
            continue;
        const int half = t.height / 2;
        const double low = 450.0 - 2 * half - 1.0;
        const double high = 550.0 + 1.0;
        int first = -1, last = -1;
        for (int i = 0; i < HORIZON; ++i) {
            // Taken to come `late` passes later than it does.
            const double y = t.y + static_cast<double>(t.speed) * (delay + i + 1 - t.late);
            if (y > low && y < high) {
                if (first < 0)
                    first = i;
                last = i;
            }
        }
        if (first < 0)
            continue;
        Threat& threat = now.threats[now.count++];
        // Whoever knows it misjudges keeps a berth of its misjudging, in place and in time.
        const int slack = t.damage > 0 ? static_cast<int>(std::ceil(skill.mistime)) : 0;
        threat.first = static_cast<int16_t>(std::max(0, first - slack));
        threat.last = static_cast<int16_t>(last + slack);
        threat.centre = static_cast<float>(t.width / 2 + static_cast<double>(t.x));
        threat.reach = static_cast<float>(t.width / 2 + 25 + 1) + (t.damage > 0 ? skill.misjudge : 0.0f);
        threat.damage = t.damage;
        threat.layerMask = t.layerMask;
    }
}

static float burgerWorth(float mass)
{
    return mass < 130.0f ? 2.0f : 0.5f;
}

// The most a plan could still win from pass `i` on: a landing with a bank after it every
// eight passes while the riders are within reach, and every burger in sight.
struct Hope {
    bool reach = false;
    float burgers = 0.0f;
    float appetite = 0.0f;
    int horizon = HORIZON;
    float from(int i) const
    {
        return burgers + (reach ? appetite * 10.0f * (std::max(horizon - i, 0) / 8 + 1) : 0.0f);
    }
};

// The plan played out over the horizon, worth the health it keeps and takes. Given up (and
// worth less than `beat`) as soon as it cannot beat `beat` any more.
static float outcome(const Situation& s, const Plan& plan, const Hope& hope, float beat)
{
    RiderState me = s.me, other = s.other;
    RiderState& a = s.self == 0 ? me : other;
    RiderState& b = s.self == 0 ? other : me;
    int32_t prevSign = s.prevSign;
    bool over = s.over;
    uint8_t winner = 0;
    uint32_t touched = 0;
    // Till the riders meet (or the game ends) the other rider goes the way worked out
    // beforehand.
    bool met = false;
    float worth = 0.0f;
    double drag = dragOf(me);
    int landedAt = -100;
    for (int i = 0; i < s.horizon; ++i) {
        if (worth + hope.from(i) < beat)
            return worth + hope.from(i) - 1.0f;
        const float sure = 1.0f - FADE * i;
        Contest contest{s.now + i, over, winner, prevSign, s.screenW};
        Meeting meeting;
        handle(me, keysFor(plan, me, drag, i), contest.now, over, meeting);
        if (met)
            handle(other, guessOther(other), contest.now, over, meeting);
        else
            other = s.otherKeyed[i];
        // What the bumps, landings and banks cost: the health they take.
        const int32_t mine = me.health, theirs = other.health;
        rules::collide(a, b, contest, meeting);
        met = met || meeting.met;
        if (meeting.landed)
            landedAt = i;
        rules::move(me, contest, meeting);
        // The other rider's banks count once the two have met.
        if (met) {
            rules::move(other, contest, meeting);
        } else {
            other = s.otherMoved[i];
            over = over || other.health <= 0;
        }
        const int lost = mine - me.health;
        const int taken = met ? theirs - other.health : 0;
        met = met || over;
        worth -= sure * lost;
        worth += sure * s.appetite * (i - landedAt < LANDING ? 1.0f : s.under) * taken;
        if (me.state & STATE_AIRBORNE)
            worth -= AIRTIME;
        for (int j = 0; j < s.count; ++j) {
            const Threat& t = s.threats[j];
            if (i < t.first || i > t.last || (touched >> j & 1u) || !(me.state & t.layerMask))
                continue;
            if (std::fabs(t.centre - me.x) >= t.reach)
                continue;
            touched |= 1u << j;
            if (t.damage > 0) {
                worth -= sure * t.damage;
            } else {
                worth += sure * burgerWorth(me.mass);
                me.mass = std::min(150.0f, me.mass + 5.0f);
                drag = dragOf(me);
            }
        }
    }
    // Where it is left: coasting into a bank costs later. (Near a bank is no worse than the
    // middle: fewer rocks and logs come there.)
    const double coast = me.x + me.velocity * std::fabs(me.velocity) / (2.0 * drag);
    if (coast < 135.0 || coast > s.screenW - 135.0)
        worth -= 4.0f;
    return worth;
}

// The ways to use the action key from now on, as (press, release) offsets.
// With `all`, every way; otherwise only the jumps that start now.
static int actions(const RiderState& me, uint32_t now, bool all, Plan* out)
{
    int n = 0;
    auto add = [&](int from, int until, int again = 0, int againFor = 0) {
        out[n].pressFrom = static_cast<int16_t>(from);
        out[n].releaseAt = static_cast<int16_t>(until);
        out[n].againFrom = static_cast<int16_t>(again);
        out[n].againUntil = static_cast<int16_t>(again + againFor);
        ++n;
    };
    if (me.actionHeld) {
        // Let go now (the steering plans do that), later for a higher jump, or dive and
        // come up again.
        const int age = static_cast<int>(now - me.actionPressTick);
        if (me.state & STATE_SUBMERGED) {
            for (int r : {2, 5, 9, 14, 20, HORIZON})
                add(0, r);
            // Up, and straight into a jump over what comes.
            for (int r : {1, 4, 8})
                for (int c : {3, 7, 12})
                    add(0, r, r + 1, c);
        } else {
            for (int r : {1, 2, 3, 5, 7, 10, 14})
                if (age + r <= 18)
                    add(0, r);
            for (int extra : {4, 12})
                add(0, 20 - age + extra);
            add(0, HORIZON);
        }
    } else {
        for (int c : {1, 2, 3, 5, 8, 12, 17})
            add(0, c);
        if (!all)
            return n;
        for (int t0 : {3, 7})
            for (int c : {3, 12})
                add(t0, t0 + c);
        for (int t0 : {0, 4})
            for (int d : {24, 34})
                add(t0, t0 + d);
    }
    return n;
}

Plan choose(const Situation& s, const Plan* last)
{
    Hope hope;
    hope.reach = std::fabs(s.other.x - s.me.x) < 300.0f;
    hope.appetite = s.appetite;
    hope.horizon = s.horizon;
    for (int j = 0; j < s.count; ++j)
        if (s.threats[j].damage == 0)
            hope.burgers += 2.0f;

    Plan best;
    float bestWorth = -1e9f;
    auto consider = [&](const Plan& plan, float bias) {
        const float worth = outcome(s, plan, hope, bestWorth - bias) + bias;
        if (worth > bestWorth) {
            bestWorth = worth;
            best = plan;
        }
        return worth;
    };
    if (last)
        consider(*last, STICK);

    // First only steering: to every place across the river, and when that meets trouble, just
    // clear of each obstacle on either side, where a narrow gap between two of them may be.
    struct Tried {
        float target, worth;
    };
    const float left = 125.0f, right = static_cast<float>(s.screenW - 125);
    Tried steered[16 + 2 * MAX_SEEN];
    int steeredCount = 0;
    auto steer = [&](float x) {
        Plan plan;
        plan.target = std::min(right, std::max(left, x));
        steered[steeredCount++] = {plan.target, consider(plan, 0.0f)};
    };
    // From its own bank across, so that of two places as good the one nearer its own bank
    // wins from either side alike (left to right always sent Berto further than Rudko).
    const float side = s.self == 0 ? 1.0f : -1.0f;
    for (int k = 0; left + 50.0f * k <= right + 0.5f; ++k)
        steer(s.self == 0 ? left + 50.0f * k : right - 50.0f * k);
    steer(s.me.x);
    for (int j = 0; j < s.count && bestWorth < -2.5f; ++j)
        if (s.threats[j].damage > 0) {
            steer(s.threats[j].centre - side * (s.threats[j].reach + 3.0f));
            steer(s.threats[j].centre + side * (s.threats[j].reach + 3.0f));
        }

    // Then the action key too, where steering fared best and where the other rider is going.
    const bool attack = std::fabs(s.other.x - s.me.x) < s.reach;
    const bool hurt = bestWorth < -2.5f;
    if (!attack && !hurt && !s.me.actionHeld)
        return best;
    // Dodging tries the key where steering fared best; attacking, where the other rider goes.
    const bool dodge = hurt || s.me.actionHeld;
    float targets[3];
    int targetCount = 0;
    if (dodge) {
        std::partial_sort(steered, steered + 2, steered + steeredCount,
                          [](const Tried& a, const Tried& b) { return a.worth > b.worth; });
        targets[targetCount++] = steered[0].target;
        targets[targetCount++] = steered[1].target;
    }
    if (attack)
        targets[targetCount++] =
            std::min(right, std::max(left, s.other.x + s.other.velocity * 8.0f));
    Plan tries[40];
    const int n = actions(s.me, s.now, dodge, tries);
    for (int t = 0; t < targetCount; ++t)
        for (int i = 0; i < n; ++i) {
            tries[i].target = targets[t];
            consider(tries[i], 0.0f);
        }
    return best;
}

}  // namespace computer
