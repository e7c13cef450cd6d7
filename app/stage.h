#pragma once
// The window as the stage of a game: ESC and the close button, each pass drawn, heard and paced.
#include <cstdint>

#include "classic/session.h"

class WindowStage : public PublishingStage {
public:
    // `ownClock`: the game runs on its own clock and the timer only paces it (a driven game);
    // otherwise each pass runs at the tick the timer has reached (the keyboard game).
    explicit WindowStage(bool ownClock);
    ~WindowStage() override;
    bool escape() override;
    bool ownsClock() const override { return ownClock; }
    void show(const World& world, const Cues& cues) override;
    // A wait the feed names is written over the last frame, once.
    void stall(const char* waitingFor) override;

private:
    bool ownClock;
    uint32_t next;
    bool waitShown = false;
};
