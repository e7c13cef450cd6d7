#include "app/clock.h"
#include "app/game.h"
#include "obstacles/lanes.h"
#include "recording/recording.h"

std::string replayRecording(const Recording& recording, GameResult& result)
{
    if (currentGeometry().bridgeHeight != recording.geometry.bridgeHeight)
        return "recorded with a bridge " + std::to_string(recording.geometry.bridgeHeight) +
               " pixels high, played here with one of " +
               std::to_string(currentGeometry().bridgeHeight);
    beginGame(defaultGameSetup(), recording.start);
    ObstacleLanes lanes;
    result = GameResult();
    const size_t count = recording.passes.size();
    bool ended = false;
    for (size_t pass = 0; pass < count; ++pass) {
        ticks = static_cast<uint32_t>(pass);
        PassInput input;
        unpackPass(recording.passes[pass], input);
        if (input.leave || !stepPass(lanes, input, false)) {
            ended = true;
            if (pass + 1 != count)
                return "the game ended at pass " + std::to_string(pass) + " but the recording goes on";
            break;
        }
        ++result.steps;
    }
    // An unfinished recording stops where it was cut off, its game still running.
    if (!ended && recording.finished)
        return "the recording ends before its game does";
    result.decided = gameOver;
    result.winner = winner;
    result.state = hashGame(lanes);
    return "";
}
