#include "app/clock.h"
#include "app/game.h"
#include "app/stage.h"
#include "audio/sound.h"

GameResult runGame(const GameSetup& setup, PassFeed& feed, int endScreenSeconds)
{
    GameStart start = currentStart(freshSeed());
    feed.begin(start);
    World world;
    startWorld(world, setup, start);
    playSound(SND_MUSIC);
    GameResult result;
    {
        WindowStage window(true);
        result = playGame(world, feed, window);
    }
    if (gameOver && !feed.broken()) {
        result.dismissed = showEndScreen(endScreenSeconds, &feed);
    } else {
        stopSound(SND_MUSIC);
        waitForEscapeRelease();
    }
    return result;
}
