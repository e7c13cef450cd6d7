#include <allegro.h>
#include <chrono>
#include <cstdint>
#include <random>
#include <thread>

#include "app/clock.h"
#include "app/game.h"
#include "app/session.h"
#include "app/system.h"
#include "audio/sound.h"
#include "input/gamepad.h"
#include "obstacles/lanes.h"
#include "simulation/simulation.h"

static uint32_t freshSeed()
{
    std::random_device device;
    return device();
}

// The passes of a driven game: the same passes as the keyboard game, but on its own clock
// (pass N at ticks N), with the inputs asked of the feed. A feed that cannot answer yet (the
// other machine's inputs are late) holds the game on its last frame until it can. In the
// window the passes are paced by the timer; without one they run as fast as they can.
static GameResult playPasses(const GameSetup& setup, PassFeed& feed, bool window, uint32_t maxPasses)
{
    GameStart start = currentStart(freshSeed());
    feed.begin(start);
    clockOwned = true;
    beginGame(setup, start);
    ObstacleLanes lanes;
    playSound(SND_MUSIC);

    GameResult result;
    uint32_t pass = 0;
    uint32_t nextPace = paceTicks + 1;
    while (pass < maxPasses && !feed.broken()) {
        const bool escape = window && (key[KEY_ESC] || closeRequested || gamepadCommands().held.escape);
        PassInput input;
        if (!feed.gather(pass, escape, input)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        if (input.leave || !stepPass(lanes, input, window))
            break;
        ++result.steps;
        feed.stepped(pass, input, lanes);
        if (window) {
            waitForRetrace();
            nextPace = waitForPace(nextPace);
        }
        ticks = ++pass;
    }
    clockOwned = false;
    result.decided = gameOver;
    result.winner = winner;
    result.state = hashGame(lanes);
    feed.ended(result);
    return result;
}

GameResult runGame(const GameSetup& setup, PassFeed& feed, int endScreenSeconds)
{
    GameResult result = playPasses(setup, feed, true, UINT32_MAX);
    if (gameOver && !feed.broken()) {
        result.dismissed = showEndScreen(endScreenSeconds, &feed);
    } else {
        stopSound(SND_MUSIC);
        waitForEscapeRelease();
    }
    return result;
}

GameResult playHeadless(const GameSetup& setup, PassFeed& feed, uint32_t maxPasses)
{
    return playPasses(setup, feed, false, maxPasses);
}
