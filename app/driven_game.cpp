#include <allegro.h>
#include <chrono>
#include <random>
#include <thread>

#include "app/clock.h"
#include "app/game.h"
#include "app/session.h"
#include "app/system.h"
#include "audio/sound.h"
#include "obstacles/lanes.h"
#include "simulation/simulation.h"

static uint32_t freshSeed()
{
    std::random_device device;
    return device();
}

// The game loop of a driven game: the same passes as the keyboard game, but on its own clock
// (pass N at ticks N), with the inputs asked of the feed. A feed that cannot answer yet (the
// other machine's inputs are late) holds the game on its last frame until it can.
GameResult runGame(const GameSetup& setup, PassFeed& feed, int endScreenSeconds)
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
    for (;;) {
        if (feed.broken())
            break;
        const bool escape = key[KEY_ESC] || closeRequested;
        PassInput input;
        if (!feed.gather(pass, escape, input)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        if (input.leave || !stepPass(lanes, input, true))
            break;
        ++result.steps;
        feed.stepped(pass, input, lanes);
        vsync();
        nextPace = waitForPace(nextPace);
        ticks = ++pass;
    }
    clockOwned = false;
    result.decided = gameOver;
    result.winner = winner;
    result.state = hashGame(lanes);
    feed.ended(result);
    if (gameOver && !feed.broken()) {
        showEndScreen(endScreenSeconds);
    } else {
        stopSound(SND_MUSIC);
        waitForEscapeRelease();
    }
    return result;
}
