#include "classic/game.h"
#include "app/clock.h"
#include "app/game.h"
#include "app/stage.h"
#include "audio/sound.h"
#include "classic/sound.h"

GameResult runGame(const GameSetup& setup, PassFeed& feed, int endScreenSeconds)
{
    GameStart start = currentStart(freshSeed());
    feed.begin(start);
    beginGame(setup, start); // the classic globals and the C library's generator alike
    World world;
    startWorld(world, setup, start);
    playSound(SND_MUSIC);
    GameResult result;
    {
        WindowStage window(true);
        result = playGame(world, feed, window);
    }
    if (result.decided && !feed.broken()) {
        result.dismissed = showEndScreen(result.names[result.winner], endScreenSeconds, &feed,
                                         &result);
    } else {
        stopSound(SND_MUSIC);
        waitForEscapeRelease();
    }
    return result;
}
