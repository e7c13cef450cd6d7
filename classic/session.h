#pragma once
// The classic game's own sessions and stage: the keyboard pair read from the riders' keys, a
// stage that keeps the globals following the world, and a game played without a window.
#include <cstdint>

#include "simulation/feed.h"

// A stage that publishes each pass's world into the classic globals (riders[], riverSpeed,
// gameOver, winner, the C library's generator) and, when it owns the clock, moves `ticks` on;
// for the named operations and the code that reads them.
class PublishingStage : public Stage {
public:
    uint32_t timerTick() const override;
    void follow(const World& world, uint32_t passes) override;
};

// The same game without a window, as fast as it goes, from a fresh start with a seed of the
// system's. Needs the rules brought up (startHeadless).
GameResult playHeadless(const GameSetup& setup, PassFeed& feed, uint32_t maxPasses);


// Two players at one keyboard, each pad (when asked for) beside its rider's keys: the first
// pad with Rudko, the second with Berto. ESC leaves a game.
class LocalSession : public Session {
public:
    explicit LocalSession(bool gamepads);
    PassFeed& feed() override;

private:
    class Feed : public PassFeed {
    public:
        bool gamepads = false;
        bool gather(uint32_t pass, bool escape, PassInput& input) override;
    } localFeed;
};

// This player's own inputs when one person plays: either key set, or the first pad.
RiderInput playerInput(bool gamepads);
