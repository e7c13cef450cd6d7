// Two lockstep sides joined by a scripted wire that delays, reorders and loses the input
// packets: both sides must play the very same passes, each key exactly `delay` passes late.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "network/lockstep.h"

namespace {

struct Wire {
    // Per tick: inputs take 1 + up to `jitter` ticks, and are lost one time in `lossEvery`.
    int jitter = 0;
    int lossEvery = 0;
    std::mt19937 rng{5};
    std::multimap<int, Message> toSide[2];

    void send(int from, int now, const Message& m, bool reliable)
    {
        if (!reliable && lossEvery && rng() % lossEvery == 0)
            return;
        toSide[1 - from].emplace(now + 1 + int(rng() % (jitter + 1)), m);
    }
};

struct Side {
    explicit Side(int rider, uint16_t game = 0) : lockstep(rider, game, 2) {}
    Lockstep lockstep;
    uint32_t pass = 0;
    std::vector<PassInput> played;
    std::vector<RiderInput> pressed;
    uint64_t state = 0; // stands for the game: every pass's inputs folded in
    int stalls = 0;
    bool left = false;
};

RiderInput scripted(std::mt19937& rng)
{
    const unsigned r = rng();
    return {(r & 1) != 0, (r & 6) == 2, (r & 24) == 8};
}

StateHash hashOf(uint64_t state) { return {state, state * 31, 0, 0}; }

// Runs both sides for `ticks` ticks; side `escaper` holds ESC from its pass `escapeAt` on.
void run(Wire& wire, Side (&sides)[2], int ticks, int escaper = -1, uint32_t escapeAt = 0)
{
    std::mt19937 keys(99);
    for (int now = 0; now < ticks; ++now) {
        for (int s = 0; s < 2; ++s) {
            Side& side = sides[s];
            auto& inbox = wire.toSide[s];
            while (!inbox.empty() && inbox.begin()->first <= now) {
                ASSERT_TRUE(side.lockstep.receive(inbox.begin()->second));
                inbox.erase(inbox.begin());
            }
            if (side.left)
                continue;
            if (side.pressed.size() == side.pass)
                side.pressed.push_back(scripted(keys));
            side.lockstep.record(side.pass, side.pressed[side.pass],
                                 s == escaper && side.pass >= escapeAt);
            wire.send(s, now, side.lockstep.inputs(), false);
            PassInput input;
            if (!side.lockstep.known(side.pass, input)) {
                ++side.stalls;
                continue;
            }
            side.played.push_back(input);
            side.state = side.state * 1000003 + packPass(input);
            if (input.leave) {
                side.left = true;
                continue;
            }
            Message hash;
            if (side.lockstep.stepped(side.pass, hashOf(side.state), hash))
                wire.send(s, now, hash, true);
            ++side.pass;
        }
    }
}

TEST(NetworkLockstep, BothSidesPlayTheSamePassesOverALossyJitteryWire)
{
    Wire wire;
    wire.jitter = 2;
    wire.lossEvery = 10;
    Side sides[2] = {Side(0, 3), Side(1, 3)};
    run(wire, sides, 3000);

    const size_t common = std::min(sides[0].played.size(), sides[1].played.size());
    ASSERT_GT(common, 2000u); // this wire is harsher than the delay: stalls are expected
    for (size_t p = 0; p < common; ++p) {
        ASSERT_EQ(packPass(sides[0].played[p]), packPass(sides[1].played[p])) << "pass " << p;
        // Each rider's keys arrive exactly two passes after they were pressed on its side.
        for (int s = 0; s < 2; ++s) {
            const RiderInput want = p < 2 ? RiderInput{} : sides[s].pressed[p - 2];
            const RiderInput got = sides[0].played[p].riders[s];
            ASSERT_TRUE(got.left == want.left && got.right == want.right && got.action == want.action)
                << "rider " << s << " pass " << p;
        }
    }
    EXPECT_TRUE(sides[0].lockstep.drift().empty());
    EXPECT_TRUE(sides[1].lockstep.drift().empty());
}

TEST(NetworkLockstep, EscapeOnOneSideEndsBothAtTheSamePass)
{
    Wire wire;
    wire.jitter = 1;
    Side sides[2] = {Side(0), Side(1)};
    run(wire, sides, 400, 1, 150);
    ASSERT_TRUE(sides[0].left && sides[1].left);
    EXPECT_EQ(sides[0].played.size(), 153u); // ESC at pass 150, used at 152
    EXPECT_EQ(sides[1].played.size(), 153u);
}

TEST(NetworkLockstep, ADifferentStateIsNamedOnBothSides)
{
    Lockstep a(0, 1, 2), b(1, 1, 2);
    Message fromA, fromB;
    StateHash same{1, 2, 3, 4}, other{1, 2, 9, 4};
    for (uint32_t p = 0; p < 19; ++p) {
        a.record(p, {}, false), b.record(p, {}, false);
    }
    ASSERT_TRUE(a.stepped(19, same, fromA));
    ASSERT_TRUE(b.receive(fromA)); // b is behind: it keeps a's hash until its own is ready
    ASSERT_TRUE(b.stepped(19, other, fromB));
    ASSERT_TRUE(a.receive(fromB));
    EXPECT_EQ(a.drift(), "lanes");
    EXPECT_EQ(b.drift(), "lanes");
    EXPECT_EQ(a.driftPass(), 19u);
}

TEST(NetworkLockstep, InputsThatCannotBeTrueAreRefused)
{
    Lockstep host(0, 4, 2);
    host.record(0, {true, false, false}, false); // the host holds passes 0..2
    Message m;
    m.type = MessageType::Inputs;
    m.game = 4;
    m.first = 2;
    m.inputs = {0x08};
    EXPECT_TRUE(host.receive(m));
    EXPECT_TRUE(host.receive(m)); // a replay changes nothing
    Message changed = m;
    changed.inputs = {0x10};
    EXPECT_FALSE(host.receive(changed)); // a pass may not change once sent
    Message wrongRider = m;
    wrongRider.first = 3, wrongRider.inputs = {0x01};
    EXPECT_FALSE(host.receive(wrongRider)); // the joiner cannot press the host's keys
    Message ahead = m;
    ahead.first = 3, ahead.inputs.assign(ROLLBACK_WINDOW + 5, 0);
    EXPECT_FALSE(host.receive(ahead)); // further ahead than its guesses let it run
    Message overAcked = m;
    overAcked.ack = 50;
    EXPECT_FALSE(host.receive(overAcked));
    Message otherGame = ahead;
    otherGame.game = 3;
    EXPECT_TRUE(host.receive(otherGame)); // an old game's straggler is ignored
    PassInput input;
    EXPECT_TRUE(host.known(2, input));
    EXPECT_FALSE(host.known(3, input));
    EXPECT_TRUE(input.riders[1].left && input.riders[0].left);
}

} // namespace
