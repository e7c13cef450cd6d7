#include <memory>

#include "classic/game.h"
#include "recording/recording.h"
#include "simulation/feed.h"

std::string playRecording(const Recording& recording, Stage& stage, GameResult& result)
{
    if (currentGeometry().bridgeHeight != recording.geometry.bridgeHeight)
        return "recorded with a bridge " + std::to_string(recording.geometry.bridgeHeight) +
               " pixels high, played here with one of " +
               std::to_string(currentGeometry().bridgeHeight);
    World world;
    startWorld(world, defaultGameSetup(), recording.start);
    std::unique_ptr<PassFeed> feed(replayFeed(recording));
    result = playGame(world, *feed, stage);
    // An unfinished recording stops where it was cut off, its game perhaps still running.
    if (feed->broken())
        return recording.finished ? "the recording ends before its game does" : "";
    if (result.steps + 1 != recording.passes.size())
        return "the game ended at pass " + std::to_string(result.steps) + " but the recording goes on";
    return "";
}

std::string replayRecording(const Recording& recording, GameResult& result)
{
    Stage nowhere;
    return playRecording(recording, nowhere, result);
}
