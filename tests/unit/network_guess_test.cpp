// What one side may guess of the other's inputs: the other rider holds what he held last,
// never leaves on a guess, and at most the window's passes are guessed; a leave of this side
// waits for the other's inputs up to it; and the side that runs ahead knows it.
#include <gtest/gtest.h>

#include "network/lockstep.h"

namespace {

// The joiner's inputs up to pass `upTo` (exclusive) as the host receives them: Berto holds
// right from pass 3 on, and leaves at `leaveAt`.
Message joinerInputs(uint32_t upTo, uint32_t ack, uint32_t leaveAt = UINT32_MAX)
{
    Message m;
    m.type = MessageType::Inputs;
    m.game = 1;
    m.ack = ack;
    for (uint32_t p = 0; p < upTo; ++p) {
        PassInput input;
        input.riders[1].right = p >= 3;
        input.leave = p == leaveAt;
        m.inputs.push_back(packPass(input));
    }
    return m;
}

TEST(NetworkGuess, TheOtherRiderHoldsWhatHeHeldLastWithinTheWindow)
{
    Lockstep host(0, 1, 0);
    for (uint32_t p = 0; p < 20; ++p)
        host.record(p, {true, false, false}, false);
    ASSERT_TRUE(host.receive(joinerInputs(5, 5)));
    EXPECT_EQ(host.confirmed(), 5u);
    PassInput input;
    for (uint32_t p = 0; p < 20; ++p) {
        const bool guessed = host.guess(p, input);
        EXPECT_EQ(guessed, p < 5 + ROLLBACK_WINDOW) << p;
        if (!guessed)
            continue;
        EXPECT_TRUE(input.riders[0].left) << p;
        EXPECT_EQ(input.riders[1].right, p >= 3) << p;
        EXPECT_FALSE(input.leave) << p;
    }
    // A leave is never guessed: it counts from the pass it comes for, once it is here.
    ASSERT_TRUE(host.receive(joinerInputs(7, 5, 6)));
    EXPECT_TRUE(host.guess(9, input));
    EXPECT_FALSE(input.leave);
    EXPECT_TRUE(host.guess(6, input));
    EXPECT_TRUE(input.leave);
}

TEST(NetworkGuess, ALeaveOfThisSideWaitsForTheOtherSideUpToIt)
{
    Lockstep host(0, 1, 0);
    for (uint32_t p = 0; p < 4; ++p)
        host.record(p, {}, p == 3);
    EXPECT_TRUE(host.leaving());
    EXPECT_FALSE(host.record(4, {}, false)); // nothing after the leave
    PassInput input;
    EXPECT_TRUE(host.guess(2, input));
    EXPECT_FALSE(host.guess(3, input));
    ASSERT_TRUE(host.receive(joinerInputs(4, 4)));
    EXPECT_TRUE(host.guess(3, input));
    EXPECT_TRUE(input.leave);
}

TEST(NetworkGuess, TheSideThatRunsAheadKnowsByHowMuch)
{
    Lockstep host(0, 1, 0);
    for (uint32_t p = 0; p < 10; ++p)
        host.record(p, {}, false);
    // The joiner has 4 of the host's passes and 4 of its own: level with a host 6 ahead
    // would mean leads of 6 and 0, so the host runs 3 passes ahead.
    ASSERT_TRUE(host.receive(joinerInputs(4, 4)));
    EXPECT_EQ(host.ahead(), 3);
    // Both see the other a pass behind, as a link of one pass each way shows it: level.
    ASSERT_TRUE(host.receive(joinerInputs(9, 8)));
    EXPECT_EQ(host.ahead(), 0);
}

} // namespace
