#include "classic/session.h"

#include "classic/game.h"
#include "classic/live.h"
#include "classic/rider.h"
#include "classic/world.h"
#include "input/gamepad.h"

uint32_t PublishingStage::timerTick() const
{
    return ticks.load();
}

void PublishingStage::follow(const World& world, uint32_t passes)
{
    publishWorld(world, nullptr);
    if (ownsClock())
        ticks = passes;
}

GameResult playHeadless(const GameSetup& setup, PassFeed& feed, uint32_t maxPasses)
{
    GameStart start = currentStart(freshSeed());
    feed.begin(start);
    World world;
    startWorld(world, setup, start);
    PublishingStage nowhere;
    return playGame(world, feed, nowhere, maxPasses);
}

LocalSession::LocalSession(bool gamepads)
{
    localFeed.gamepads = gamepads;
}

PassFeed& LocalSession::feed()
{
    return localFeed;
}

bool LocalSession::Feed::gather(uint32_t, bool escape, PassInput& input)
{
    for (int i = 0; i < 2; ++i) {
        input.riders[i] = keyboardInput(*riders[i]);
        if (gamepads)
            input.riders[i] = combine(input.riders[i], gamepadInput(i));
    }
    input.leave = escape;
    return true;
}

RiderInput playerInput(bool gamepads)
{
    RiderInput keys = combine(keyboardInput(*riders[0]), keyboardInput(*riders[1]));
    return gamepads ? combine(keys, gamepadInput(0)) : keys;
}
