#pragma once
// One game in the window, from its start to its end screen.
#include <cstdint>

#include "classic/live.h"
#include "simulation/feed.h"

class ObstacleLanes;
struct BITMAP;

void runGame(const GameSetup& setup);

// One game driven by `feed`, shown in the window, at 20 passes a second.
GameResult runGame(const GameSetup& setup, PassFeed& feed, int endScreenSeconds = 0);

// One pass of the live game after its ESC test, at `ticks` == the pass number: the speed
// ramp, the slow-down, both riders with these inputs, a spawn attempt, and the obstacle lanes
// (drawn and shown when `draw` is set, only moved and tested otherwise), its sounds played.
// False when the slow-down has just ended the game; then nothing was stepped.
bool stepPass(ObstacleLanes& lanes, const PassInput& input, bool draw);

// Waits until ESC is up, so that the ESC that left a game or its end screen does not also
// end the menu.
void waitForEscapeRelease();

// The end screen over the last frame: "CHAMPION is the" above the title art. It waits for a key
// pressed after it appeared, or `seconds` when not 0, or the close button. `feed`, when given,
// is kept alive meanwhile; `result`, when given, is the game's, for endScreenWords. True when a
// key sent it away.
bool showEndScreen(const char* champion, int seconds, PassFeed* feed = nullptr,
                   const GameResult* result = nullptr);
// When set, draws the end screen's words for the game's result in place of the classic line
// (--comfort).
extern void (*endScreenWords)(BITMAP* dest, const GameResult& result);
