#include <chrono>
#include <random>
#include <thread>

#include "input/gamepad.h"
#include "riders/live.h"
#include "riders/rider.h"
#include "simulation/feed.h"

void Stage::stall()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

GameResult playGame(World& world, PassFeed& feed, Stage& stage, uint32_t maxPasses)
{
    feed.started(world);
    GameResult result;
    uint32_t pass = 0;
    while (pass < maxPasses && !feed.broken()) {
        // The feed looks at the world as it stands at the tick of the pass it is asked for.
        world.ticks = stage.ownsClock() ? pass : ticks.load();
        const bool escape = stage.escape();
        PassInput input;
        if (!feed.gather(pass, escape, input)) {
            stage.stall();
            continue;
        }
        if (input.leave)
            break;
        Cues cues;
        if (!stepWorld(world, input, cues))
            break;
        ++result.steps;
        publishWorld(world, nullptr);
        feed.stepped(pass, input, world);
        stage.show(world, cues);
        ++pass;
        if (stage.ownsClock())
            ticks = pass;
    }
    world.ticks = stage.ownsClock() ? pass : ticks.load();
    publishWorld(world, nullptr);
    result.decided = world.gameOver;
    result.winner = world.winner;
    result.state = hashWorld(world);
    feed.ended(result);
    return result;
}

uint32_t freshSeed()
{
    std::random_device device;
    return device();
}

GameResult playHeadless(const GameSetup& setup, PassFeed& feed, uint32_t maxPasses)
{
    GameStart start = currentStart(freshSeed());
    feed.begin(start);
    World world;
    startWorld(world, setup, start);
    Stage nowhere;
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
