#pragma once
#include <memory>

#include "input/input.h"

class ObstacleLanes;

// The computer riding one rider. It looks at the river once a pass as a player sees it and
// acts on what it saw three passes before, through the same three inputs as a player. Its
// choices follow from what it saw alone: no random numbers, no clock. A fresh one per game.
class ComputerRider {
public:
    // 0 rides riders[0], 1 riders[1].
    explicit ComputerRider(int index);
    ~ComputerRider();
    ComputerRider(const ComputerRider&) = delete;
    ComputerRider& operator=(const ComputerRider&) = delete;

    // The inputs for the next pass, called once before each pass of the game.
    RiderInput decide(const ObstacleLanes& lanes);

private:
    struct Mind;
    std::unique_ptr<Mind> mind;
};
