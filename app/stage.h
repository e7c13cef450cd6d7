#pragma once
// The window as the stage of a game: ESC and the close button, each pass drawn, heard and paced.
#include <chrono>
#include <cstdint>

#include "simulation/feed.h"

class WindowStage : public Stage {
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
    bool ownClock;
    uint32_t next;
    bool waitShown = false;
    bool smooth;
    World ahead;
    World between;
};
