#pragma once
// The window as the stage of a game: ESC and the close button, each pass drawn, heard and paced.
#include <chrono>
#include <cstdint>

#include "classic/session.h"

// Whether a game in the window may be paused (P, Pause, or the window losing the focus): never
// in the classic game; online the player is told that it cannot be.
enum class Pausing { never, local, online };
extern Pausing pausing;

// From now on the window losing the focus pauses a pausable game.
void pauseOnFocusLoss();

class WindowStage : public PublishingStage {
public:
    // `ownClock`: the game runs on its own clock and the timer only paces it (a driven game);
    // otherwise each pass runs at the tick the timer has reached (the keyboard game).
    explicit WindowStage(bool ownClock);
    ~WindowStage() override;
    bool escape() override;
    bool ownsClock() const override { return ownClock; }
    void show(const World& world, const Cues& cues) override;
    // Smooth: the pass's picture, then pictures at the display's pace until the next pass, each
    // the instant between this pass and a copy stepped a pass ahead with the inputs held now.
    void showPass(const World& world, const PassInput& input, const Cues& cues) override;
    // A wait the feed names is written over the last frame, once.
    void stall(const char* waitingFor) override;

    // For the benchmarks: when the last pass's own picture was sent, and pictures sent so far.
    std::chrono::steady_clock::time_point passShownAt;
    uint32_t pictures = 0;

private:
    // Holds the game still until the player goes on; true when the player left it instead.
    bool holdStill();
    bool ownClock;
    int refusalShown = 0; // passes left to show that online games do not pause
    uint32_t next;
    bool waitShown = false;
    bool smooth;
    World ahead;
    World between;
};
