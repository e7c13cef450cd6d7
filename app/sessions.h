#pragma once
#include "app/session.h"

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
