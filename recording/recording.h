#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/headless.h"
#include "simulation/simulation.h"

// A recorded game: all it takes to play it again exactly. The file layout, field by field,
// is in docs/recording-format.md.
struct Recording {
    std::string build;           // the identity of the game that recorded it
    GameStart start;
    KindGeometry geometry;
    std::vector<uint8_t> passes; // packPass() of every pass the game asked for, the last one ends it
    uint64_t finalState = 0;     // StateHash::whole() when the game ended
};

constexpr uint16_t recordingVersion = 1;
constexpr uint32_t maxRecordedPasses = 1u << 22; // over 58 hours at 20 passes a second
constexpr size_t maxBuildLength = 64;

std::vector<uint8_t> encodeRecording(const Recording& recording);
// "" when the bytes are a whole, undamaged recording; otherwise why not, in one line.
std::string decodeRecording(const uint8_t* data, size_t size, Recording& recording);

// Writes the file whole or not at all. "" on success, otherwise why not.
std::string saveRecording(const std::string& path, const Recording& recording);
std::string loadRecording(const std::string& path, Recording& recording);

// Plays a recording through without drawing. "" when it held together (result filled),
// otherwise why not. Needs the rules brought up (startHeadless, or the real game).
std::string replayRecording(const Recording& recording, GameResult& result);

class Session;
class PassFeed;

// Where the run's games are saved: the first to `first`, game N (from 2) beside it as
// "NAME-N.EXT", at the first such name not already taken.
std::string recordingPath(const std::string& first, int game);

// The same session, with every game it plays saved as it ends (a game left with ESC too),
// and its result line printed.
Session* recordEveryGame(Session& inner, const std::string& firstPath);

// `inner`'s game, saved to `path` as it ends and its result line printed. Owned by the caller.
PassFeed* recordingFeed(PassFeed& inner, const std::string& path);

// Plays a recording back in the window at its own speed. ESC stops it.
PassFeed* replayFeed(const Recording& recording);

// How a pass is stepped; a check may be handed another to prove it notices.
using PassStepper = bool (*)(World& world, const PassInput& input, Cues& cues);

// Plays a recording through as replayRecording does, and after every pass saves the world,
// steps up to `ahead` of the recorded passes on, restores it over that, steps them again, and
// compares the state hashes and the sounds pass by pass, and the first of them with the pass
// the game then plays. "" when everything agreed (result filled); otherwise what did not:
// with `apart` set, "pass P: the PART differ" for a rollback that changed something.
std::string checkRollback(const Recording& recording, int ahead, GameResult& result, bool& apart,
                          PassStepper step = stepWorld);

class Stage;
// The recorded game played on `stage`; replayRecording's checks.
std::string playRecording(const Recording& recording, Stage& stage, GameResult& result);
