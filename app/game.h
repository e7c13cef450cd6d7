#pragma once
#include <cstdint>

class ObstacleLanes;
class PassFeed;

// Pixels per tick the river moves down the screen: 0 at the start, ~14.8 when cruising.
extern float riverSpeed;
// Set once per game by the first rider to run out of health; cleared by setupGame.
extern bool gameOver;
extern uint8_t winner;

struct RiderSetup {
    char name[20];
    int32_t leftKey;
    int32_t rightKey;
    int32_t actionKey;
};

struct GameSetup {
    RiderSetup riders[2];
};

// "Rudko" on A / D / S and "Berto" on the arrows LEFT / RIGHT / DOWN.
GameSetup defaultGameSetup();

// River speed for the ramp pass at tick t (t < 10): a quarter sine up to ~14.8.
float rampSpeed(uint32_t t);

void setupGame(const GameSetup& setup);
void runGame(const GameSetup& setup);

// Waits until ESC is up, so that the ESC that left a game or its end screen does not also
// end the menu.
void waitForEscapeRelease();

// The end screen over the last frame: "NAME is the" above the title art. It waits for a key
// pressed after it appeared, or `seconds` when not 0, or the close button. `feed`, when given,
// is kept alive meanwhile.
void showEndScreen(int seconds, PassFeed* feed = nullptr);
